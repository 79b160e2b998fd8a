// "GET BAUD RATE": the code that picks one of eight option buttons.

#include "Fuzz.h"
#include "island/Risposte.h"

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view R = testoDi(data, size);
    try {
        const std::int16_t v = LeggiBaudRate(R);
        FUZZ_CHECK(v >= 0 && v <= 7);
        const std::size_t cr = R.find('\r');
        FUZZ_CHECK(cr != std::string_view::npos && cr >= 2);
    } catch (const ParseError&) {
    }
    return 0;
}
