// "GET CONF" as the expansion drawing reads it to re-check interrupted coils:
// the coil records of one body.

#include "Fuzz.h"
#include "island/Risposte.h"

#include <algorithm>

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (const Model& m : modelli()) {
        for (int corpo : {0, 1, 2, 3, static_cast<int>(m.NumEspansioni), MaxEspansioni, MaxEspansioni + 1}) {
            std::string R(testoDi(data, size));
            const std::vector<RecordConf> r = RecordsGetConf(R, m, corpo);
            FUZZ_CHECK(R.size() <= size);
            if (corpo < 1 || corpo > m.NumEspansioni || corpo > MaxEspansioni) {
                FUZZ_CHECK(r.empty());
                continue;
            }
            FUZZ_CHECK(static_cast<long>(r.size()) <= std::max<long>(0, m.Espansioni(corpo).NumBobine));
            for (const RecordConf& x : r) {
                FUZZ_CHECK(x.posizione >= -32768 && x.posizione <= 32767);
                FUZZ_CHECK(x.indice >= -32768 && x.indice <= 32767);
            }
        }
    }
    return 0;
}
