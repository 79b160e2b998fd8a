// "STATO VALVOLA": energised or not.

#include "Fuzz.h"
#include "island/Risposte.h"

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view R = testoDi(data, size);
    FUZZ_CHECK(LeggiStatoValvola(R) == (R.find("ON") != std::string_view::npos));
    return 0;
}
