// "Stringhe.txt": decoding, LeggiChiave, and the 50 keys applied at start-up.

#include "Fuzz.h"
#include "program/Testi.h"
#include "island/Codifica.h"
#include "program/Configuratore.h"
#include "island/Risorse.h"
#include "support/FakeHost.h"
#include "support/ScriptedPort.h"

#include <cmath>

using namespace ondrix;
using namespace ondrix::fuzz;

namespace {

// Lines as the file has them (CR LF or CR ends a line), the key's line and
// the one after it: a second reading to compare LeggiChiave with.
std::optional<std::string> chiaveAttesa(std::string_view t, std::string_view key)
{
    std::vector<std::string_view> righe;
    std::size_t pos = 0;
    while (pos < t.size()) {
        const std::size_t cr = t.find('\r', pos);
        if (cr == std::string_view::npos) {
            righe.push_back(t.substr(pos));
            break;
        }
        righe.push_back(t.substr(pos, cr - pos));
        pos = cr + 1;
        if (pos < t.size() && t[pos] == '\n')
            ++pos;
    }
    for (std::size_t i = 0; i < righe.size(); ++i)
        if (righe[i] == key)
            return i + 1 < righe.size() ? std::optional<std::string>(std::string(righe[i + 1]))
                                        : std::nullopt;
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string testo = decodificaTesto(testoDi(data, size));
    FUZZ_CHECK(utf8Valido(testo));
    if (utf8Valido(testoDi(data, size)))
        FUZZ_CHECK(testo.size() <= size);

    std::vector<std::string> chiavi = {"[INTESTAZIONE FORM]", "[DELAY]", "[DELAYINPUT]", "[MSGTIMEOUT2]", ""};
    chiavi.emplace_back(testo.substr(0, testo.find('\r')));
    for (const std::string& k : chiavi)
        FUZZ_CHECK(LeggiChiave(testo, k) == chiaveAttesa(testo, k));

    static test::FakeHost host;
    static test::ScriptedPort port(host);
    Configuratore c(host, port);
    const std::string captionPrima = c.f.caption();
    try {
        ApplicaTesti(c.f, c.m.testi, testo, "Stringhe.txt");
    } catch (const RisorsaMancante& e) {
        // Refused before changing anything.
        FUZZ_CHECK(c.f.caption() == captionPrima);
        FUZZ_CHECK(c.m.testi.CaptChiudi.empty() && c.m.testi.Ritardo == 0.0f);
        FUZZ_CHECK(!e.key.empty());
        return 0;
    }
    FUZZ_CHECK(c.f.caption() == *LeggiChiave(testo, "[INTESTAZIONE FORM]"));
    FUZZ_CHECK(c.m.testi.Messaggi(msg::Timeout2) == *LeggiChiave(testo, "[MSGTIMEOUT2]"));
    FUZZ_CHECK(std::isfinite(c.m.testi.Ritardo) && c.m.testi.Ritardo >= 0.0f);
    FUZZ_CHECK(c.f.Timer1.interval() >= 0 && c.f.Timer1.interval() <= 65535);
    FUZZ_CHECK(port.operations() == 0);
    return 0;
}
