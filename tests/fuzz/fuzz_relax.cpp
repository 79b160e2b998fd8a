// "GET RELAX": the relax flag of rows 1..32.

#include "Fuzz.h"
#include "island/Lettura.h"

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (Model m : modelli()) {
        const Model prima = m;
        std::string R(testoDi(data, size));
        try {
            LeggiRelax(R, m);
        } catch (const ParseError&) {
        }
        controllaModello(m, prima);
        for (int r = 1; r <= MaxDiagnosi; ++r) {
            const RigaDiagnosi& d = m.Diagnosi(r);
            const RigaDiagnosi& p = prima.Diagnosi(r);
            FUZZ_CHECK(d.Relax == p.Relax || d.Relax == 0 || d.Relax == 1);
            FUZZ_CHECK(d.Indice == p.Indice && d.Stato == p.Stato);
        }
    }
    return 0;
}
