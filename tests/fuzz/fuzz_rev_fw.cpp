// "GET REV FW": the head's revision, each body's, and the rest for the modules.

#include "Fuzz.h"
#include "island/Lettura.h"

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (Model m : modelli()) {
        const Model prima = m;
        std::string R(testoDi(data, size));
        std::optional<std::string> atmel;
        std::string resto = "invariato";
        bool letta = true;
        try {
            LeggiRevFw(R, m, atmel, resto);
        } catch (const ParseError&) {
            letta = false;
        }
        controllaModello(m, prima);
        FUZZ_CHECK(m.NumEspansioni == prima.NumEspansioni);
        if (letta) {
            FUZZ_CHECK(atmel.has_value());
            FUZZ_CHECK(resto.size() <= size);
            FUZZ_CHECK(testoDi(data, size).find(resto) != std::string_view::npos);
        } else {
            FUZZ_CHECK(resto == "invariato");
        }
        if (atmel)
            FUZZ_CHECK(atmel->size() <= size);
    }
    return 0;
}
