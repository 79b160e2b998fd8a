// The input modules' addresses: asked for one by one, then written to the island.

#include "fieldbus/Fieldbus.h"

#include "frame/Sessione.h"
#include "island/Numeri.h"

#include <algorithm>
#include <array>
#include <optional>

namespace ondrix {

namespace {

// The modules carry the addresses 0, 1 and 2: only three can be re-addressed.
constexpr int ModuliIndirizzabili = 3;

// Asks until the answer is an address 0..2 other than escluso; nothing when
// the box is cancelled (empty answer).
std::optional<int> chiediIndirizzo(Sessione& c, const std::string& prompt, int escluso)
{
    for (;;) {
        const std::string risposta = c.host.inputBox(prompt, c.f.caption(), "");
        if (risposta.empty())
            return std::nullopt;
        const double v = valoreIniziale(risposta);
        if (v < 0 || v > 2)
            continue;
        // Compared once rounded, so 0.4 cannot give a second module address 0.
        const int a = arrotonda16(v);
        if (a != escluso)
            return a;
    }
}

} // namespace

void CmdAddressIn_Click(Sessione& c, const std::function<void()>& Timer1_Timer)
{
    c.f.Timer1.setEnabled(false);
    const Testi& t = c.m.testi;
    const int moduli = std::clamp<int>(c.m.NumModuli, 0, MaxModuli);

    std::array<int, ModuliIndirizzabili> nuovi{};
    auto primo = chiediIndirizzo(c, t.Messaggi(msg::Address1), -1);
    if (!primo) {
        c.f.Timer1.setEnabled(true);
        return;
    }
    nuovi[0] = *primo;
    if (moduli > 1) {
        static constexpr int prompt[3] = {msg::Address2, msg::Address3, msg::Address4};
        auto secondo = chiediIndirizzo(c, t.Messaggi(prompt[nuovi[0]]), nuovi[0]);
        if (!secondo) {
            c.f.Timer1.setEnabled(true);
            return;
        }
        nuovi[1] = *secondo;
    }
    if (moduli > 2)
        nuovi[2] = 3 - nuovi[0] - nuovi[1];  // the address left over

    c.host.setBusyPointer(true);
    c.invia(dialogo::DisableDigital());
    // Modules after the third have no address to move to: they keep theirs.
    for (int k = 1; k <= std::min(moduli, ModuliIndirizzabili); ++k) {
        Modulo& mod = c.m.Moduli(k);
        const int nuovo = nuovi[static_cast<std::size_t>(k - 1)];
        c.invia(dialogo::EnableDigital(mod.Indirizzo, nuovo));
        mod.Indirizzo = static_cast<std::int16_t>(nuovo);
    }
    // Show the modules' inputs again at once, without waiting for a tick.
    Timer1_Timer();
    c.host.setBusyPointer(false);
    c.f.Timer1.setEnabled(true);
}

} // namespace ondrix
