// "GET CONF" as the start-up reads it: the address of each input module.

#include "Fuzz.h"
#include "island/Risposte.h"

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    suOgniModello(
        testoDi(data, size), [](std::string& R, Model& m) { LeggiIndirizziModuli(R, m); },
        [](const Model& m, const Model& prima, const std::string&, bool) {
            FUZZ_CHECK(m.NumModuli == prima.NumModuli);
            for (int k = 1; k <= MaxModuli; ++k) {
                const Modulo& a = m.Moduli(k);
                const Modulo& b = prima.Moduli(k);
                FUZZ_CHECK(a.Tipo == b.Tipo && a.NumIngressi == b.NumIngressi &&
                           a.RevPic == b.RevPic);
                if (k > prima.NumModuli)
                    FUZZ_CHECK(a.Indirizzo == b.Indirizzo);
            }
        });
    return 0;
}
