// "GET VALVOLE PRESENTI": bodies and coils read into the model.

#include "Fuzz.h"
#include "island/Risposte.h"

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    suOgniModello(
        testoDi(data, size), [](std::string& R, Model& m) { LeggiValvolePresenti(R, m); },
        [size](const Model& m, const Model& prima, const std::string& R, bool) {
            FUZZ_CHECK(R.size() <= size);
            // Stored whole, or (cut before the list) the model untouched.
            FUZZ_CHECK(bobineCoerenti(m) ||
                       (!bobineCoerenti(prima) && m.NumEspansioni == prima.NumEspansioni &&
                        m.TotaleBobine == prima.TotaleBobine));
        });
    return 0;
}
