// "INTERFACCIA": the fieldbus interface and its baud-rate texts.

#include "Fuzz.h"
#include "island/Risposte.h"

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view R = testoDi(data, size);
    const char i = LeggiInterfaccia(R);
    FUZZ_CHECK(i == 0 || i == 'P' || i == 'C' || i == 'D');
    FUZZ_CHECK(i == 0 || (!R.empty() && R.front() == i));
    Model m;
    std::string suffisso = "x";
    const int p = ApplicaInterfaccia(i, m, suffisso);
    FUZZ_CHECK(p >= 0 && p <= 3);
    FUZZ_CHECK((p == 0) == (i == 0));
    FUZZ_CHECK(p == 0 ? suffisso.empty() : suffisso.size() > 3);
    return 0;
}
