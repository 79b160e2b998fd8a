// "GET VALVOLE PRESENTI": bodies and coils read into the model.

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
            LeggiValvolePresenti(R, m);
        } catch (const ParseError&) {
        }
        FUZZ_CHECK(R.size() <= size);
        controllaModello(m, prima);
        // Stored whole, or (cut before the list) the model untouched.
        FUZZ_CHECK(bobineCoerenti(m) || (!bobineCoerenti(prima) && m.NumEspansioni == prima.NumEspansioni &&
                                         m.TotaleBobine == prima.TotaleBobine));
    }
    return 0;
}
