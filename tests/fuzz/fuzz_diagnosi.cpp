// "GET DIAGNOSI" as the coil commands read it: the records, the letter of
// one coil, and the rows they rewrite.

#include "Fuzz.h"
#include "diagnostics/Diagnosi.h"

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view R = testoDi(data, size);
    const LetturaDiagnosi l = leggiDiagnosi(R);
    FUZZ_CHECK(l.record.size() <= static_cast<std::size_t>(MaxDiagnosi));
    FUZZ_CHECK(l.letti <= size);
    FUZZ_CHECK(!l.completa || l.record.size() == static_cast<std::size_t>(MaxDiagnosi));
    FUZZ_CHECK(l.record.empty() || l.letti > IntestazioneDiagnosi);

    // As DiagnosiIsola applies it.
    Model m = modelloIsola();
    const Model prima = m;
    int riga = 1;
    for (const RecordDiagnosi& r : l.record) {
        RigaDiagnosi& d = m.Diagnosi(riga++);
        d.Indice = r.indice;
        applicaLettera(d, r.lettera);
    }
    controllaModello(m, prima);

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
