// "GET RELAX": the relax flag of rows 1..32.

#include "Fuzz.h"
#include "island/Risposte.h"

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    suOgniModello(
        testoDi(data, size), [](std::string& R, Model& m) { LeggiRelax(R, m); },
        [](const Model& m, const Model& prima, const std::string&, bool) {
            for (int r = 1; r <= MaxDiagnosi; ++r) {
                const RigaDiagnosi& d = m.Diagnosi(r);
                const RigaDiagnosi& p = prima.Diagnosi(r);
                FUZZ_CHECK(d.Relax == p.Relax || d.Relax == 0 || d.Relax == 1);
                FUZZ_CHECK(d.Indice == p.Indice && d.Stato == p.Stato);
            }
        });
    return 0;
}
