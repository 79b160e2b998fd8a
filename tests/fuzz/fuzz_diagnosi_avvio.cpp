// "GET DIAGNOSI" as the start-up reads it: index and state of rows 1..32.

#include "Fuzz.h"
#include "island/Lettura.h"

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    suOgniModello(
        testoDi(data, size), [](std::string& R, Model& m) { LeggiDiagnosi(R, m); },
        [](const Model& m, const Model& prima, const std::string&, bool) {
            for (int r = 1; r <= MaxDiagnosi; ++r) {
                const RigaDiagnosi& d = m.Diagnosi(r);
                // An absent coil has no index; Relax is not this reply's.
                if (d.Stato == stato::Assente && d.Stato != prima.Diagnosi(r).Stato)
                    FUZZ_CHECK(d.Indice == IndiceAssente);
                FUZZ_CHECK(d.Relax == prima.Diagnosi(r).Relax);
            }
            FUZZ_CHECK(m.NumEspansioni == prima.NumEspansioni &&
                       m.TotaleBobine == prima.TotaleBobine);
        });
    return 0;
}
