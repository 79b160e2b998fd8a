// "GET SLAVE ADDRESS": the address text shown in the PROFIBUS label.

#include "Fuzz.h"
#include "island/Risposte.h"

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view R = testoDi(data, size);
    try {
        const std::string a = LeggiIndirizzoSlave(R);
        FUZZ_CHECK(a.size() + 4 <= size);
        FUZZ_CHECK(a.empty() || (a.front() != ' ' && a.back() != ' '));
        FUZZ_CHECK(R.find(a) != std::string_view::npos);
    } catch (const ParseError&) {
    }
    return 0;
}
