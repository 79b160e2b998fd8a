// "LEGGI CONTACOLPI": the stroke counter in thousands, and its display.

#include "Fuzz.h"
#include "island/Risposte.h"
#include "view/Vista.h"

#include <algorithm>

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto v = contacolpiDaRisposta(testoDi(data, size));
    if (!v)
        return 0;
    FUZZ_CHECK(*v >= 0 && *v <= 99999);
    for (const std::string sep : {",", ".", " ", "\xC2\xA0", ""}) {
        const std::string t = formattaColpi(*v * 1000LL, sep);
        std::string cifre = t;
        if (!sep.empty())
            for (std::size_t p; (p = cifre.find(sep)) != std::string::npos;)
                cifre.erase(p, sep.size());
        FUZZ_CHECK(cifre == std::to_string(*v * 1000LL));
    }
    return 0;
}
