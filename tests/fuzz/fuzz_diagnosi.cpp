// "GET DIAGNOSI": the records, the letter of one coil, and the rows they
// rewrite (the start-up and the coil commands alike).

#include "Fuzz.h"
#include "island/Risposte.h"

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view R = testoDi(data, size);
    const LetturaDiagnosi l = recordDiagnosi(R);
    FUZZ_CHECK(l.record.size() <= static_cast<std::size_t>(MaxDiagnosi));
    FUZZ_CHECK(l.letti <= size);
    FUZZ_CHECK(!l.completa || l.record.size() == static_cast<std::size_t>(MaxDiagnosi));
    FUZZ_CHECK(l.record.empty() || l.letti > IntestazioneDiagnosi);

    // Index and state of rows 1..32, on every test model.
    suOgniModello(
        R, [](std::string& r, Model& m) { LeggiDiagnosi(r, m); },
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

    // The letter of one coil: the first record with exactly that index.
    for (int indirizzo : {0, 1, 5, 11, 31, -1, 255, 170}) {
        const auto lettera = letteraDiagnosi(R, indirizzo);
        bool trovato = false;
        for (const RecordDiagnosi& r : l.record)
            if (r.indice == indirizzo) {
                FUZZ_CHECK(lettera && *lettera == r.lettera);
                trovato = true;
                break;
            }
        FUZZ_CHECK(trovato == lettera.has_value());
    }
    return 0;
}
