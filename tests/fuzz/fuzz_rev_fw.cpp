// "GET REV FW": the head's revision, each body's, and the rest for the modules.

#include "Fuzz.h"
#include "island/Risposte.h"

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = testoDi(data, size);
    std::optional<std::string> atmel;
    std::string resto;
    suOgniModello(
        input,
        [&](std::string& R, Model& m) {
            atmel.reset();
            resto = "invariato";
            LeggiRevFw(R, m, atmel, resto);
        },
        [&](const Model& m, const Model& prima, const std::string&, bool letta) {
            FUZZ_CHECK(m.NumEspansioni == prima.NumEspansioni);
            if (letta) {
                FUZZ_CHECK(atmel.has_value());
                FUZZ_CHECK(resto.size() <= size);
                FUZZ_CHECK(input.find(resto) != std::string_view::npos);
            } else {
                FUZZ_CHECK(resto == "invariato");
            }
            if (atmel)
                FUZZ_CHECK(atmel->size() <= size);
        });
    return 0;
}
