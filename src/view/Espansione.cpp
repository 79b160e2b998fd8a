#include "view/Espansione.h"

#include "frame/Configuratore.h"
#include "frame/Gestori.h"
#include "island/Lettura.h"
#include "island/Numeri.h"

#include <algorithm>
#include <cmath>

namespace ondrix {

namespace {

using Invio = std::string (Channel::*)(const std::string&, const std::string&);

void coloraPerStato(Control& b, int statoBobina)
{
    switch (statoBobina) {
    case stato::Assente:
        b.setBackColor(colore::Grigio);
        break;
    case stato::Presente:
        b.setBackColor(colore::Arancio);
        b.setEnabled(true);
        break;
    case stato::GuastaC:
    case stato::GuastaI:
        b.setBackColor(colore::Rosso);
        break;
    case stato::Attivata:
        b.setBackColor(colore::Verde);
        b.setEnabled(true);
        break;
    default:
        break;  // stays grey
    }
}

// The head's termination (PROFIBUS) or baud-rate (CANopen, DeviceNet) button.
void terminazione(Configuratore& c, Invio invio)
{
    Model& m = c.m;
    Form& f = c.f;
    switch (m.Protocollo) {
    case 1:
        if (m.RevAtmel > 33) {
            f.CmdTerminazione.setVisible(true);
            m.Risposta = (c.ch.*invio)("STATO TERMINAZIONE", "OK");
            const std::string inizio = trim(m.Risposta.substr(0, 3));
            if (inizio.find("ON") != std::string::npos) {
                f.CmdTerminazione.setCaption(m.testi.CaptTerminazioneOff);
                f.ConnettoreProfibus.setFillColor(colore::Rosso);
            } else {
                f.CmdTerminazione.setCaption(m.testi.CaptTerminazioneOn);
                f.ConnettoreProfibus.setFillColor(colore::Nero);
            }
        }
        break;
    case 2:
    case 3:
        f.CmdTerminazione.setVisible(true);
        // A code outside the eight texts leaves the caption as it is.
        if (m.TestiBaudRate.valid(m.IndiceBaudRate + 1))
            f.CmdTerminazione.setCaption(m.TestiBaudRate(m.IndiceBaudRate + 1));
        break;
    default:
        break;
    }
}

// Coils reported interrupted ("I") whose index the island's configuration
// places on the drawn body are shown red again.
void ricontrollo(Configuratore& c, int Indice, Invio invio)
{
    Model& m = c.m;
    for (int r = 1; r <= MaxDiagnosi; ++r) {
        if (m.Diagnosi(r).Stato != stato::GuastaI)
            continue;
        m.Risposta = (c.ch.*invio)("GET CONF", "OK");
        for (const RecordConf& rec : RecordsGetConf(m.Risposta, m, Indice + 1)) {
            if (rec.indice != m.Diagnosi(r).Indice)
                continue;
            if (rec.posizione < 1 || rec.posizione > 16)
                continue;  // no such button
            Control& b = *c.f.Bobina[static_cast<std::size_t>(rec.posizione - 1)];
            b.setBackColor(colore::Rosso);
            b.setEnabled(true);
            b.setCaption(testo(rec.indice));
            b.setBold(false);
        }
    }
}

void disegna(Configuratore& c, int Indice, Invio invio)
{
    Model& m = c.m;
    Form& f = c.f;

    // 1. The output panel.
    f.Frame2.setVisible(true);
    f.Frame1.setVisible(false);
    f.LblAlimentazione.setVisible(false);

    // A position that names no body read from the island draws nothing.
    if (Indice < 0 || Indice >= m.NumEspansioni || Indice >= MaxEspansioni)
        return;
    const Espansione E = m.Espansioni(Indice + 1);

    // 2-4. List, firmware caption, buttons that need a selected coil.
    if (Indice < static_cast<int>(f.Combo1.list().size()))
        f.Combo1.setListIndex(Indice);
    f.PIC.setCaption(finoAlDuePunti(f.PIC.caption()) + testo(E.RevPic));
    f.CmdAbilita.setEnabled(false);
    f.CmdAziona.setEnabled(false);
    f.CmdTerminazione.setVisible(false);
    f.CmdPAddress.setVisible(true);

    // 5. The body picture.
    auto connettori = [&](bool v) {
        f.CorpoConnettori.setVisible(v);
        f.ConnettoreProfibus.setVisible(v);
        f.ConnettoreSeriale.setVisible(v);
        f.ConnettoreAlimentazione.setVisible(v);
        f.ATMEL.setVisible(v);
    };
    switch (E.NumPosti) {
    case 2:
        f.Corpo2Posti.setVisible(true);
        f.Corpo4Posti.setVisible(false);
        f.Corpo8Posti.setVisible(false);
        connettori(false);
        break;
    case 4:
        f.Corpo4Posti.setVisible(true);
        f.Corpo2Posti.setVisible(false);
        f.Corpo8Posti.setVisible(false);
        connettori(false);
        break;
    case 8:
        f.Corpo8Posti.setVisible(true);
        f.Corpo2Posti.setVisible(false);
        f.Corpo4Posti.setVisible(false);
        connettori(Indice == 0);
        if (Indice == 0)
            terminazione(c, invio);
        break;
    default:
        break;
    }

    // 6. Every button empty, grey, disabled.
    for (Control* b : f.Bobina) {
        b->setVisible(true);
        b->setBackColor(colore::Grigio);
        b->setCaption("");
        b->setEnabled(false);
    }

    // 7. Coils of the bodies before this one.
    int prima = 0;
    for (int i = 1; i <= Indice; ++i)
        prima += m.Espansioni(i).NumBobine;
    m.PrimaBobina = static_cast<std::int16_t>(std::clamp(prima, -32768, 32767));

    // 8. The body's coils.
    for (int j = 1; j <= E.NumBobine; ++j) {
        const int riga = prima + j;
        if (!m.ConfBobine.valid(riga))
            break;  // past the coil table
        const ConfBobina cb = m.ConfBobine(riga);
        if (cb.Posizione < 1 || cb.Posizione > 16)
            continue;  // no button for this position
        Control& b = *f.Bobina[static_cast<std::size_t>(cb.Posizione - 1)];

        if (cb.Indice == IndiceDisabilitato) {
            b.setBackColor(colore::GialloPallido);
            b.setEnabled(true);
            b.setCaption(testo(cb.Posizione));
            b.setBold(false);
            continue;
        }
        b.setCaption(cb.Indice == IndiceSentinella ? std::string() : testo(cb.Indice));

        int r = 1;
        while (r <= MaxDiagnosi && m.Diagnosi(r).Indice != cb.Indice)
            ++r;

        // A configured coil the diagnosis does not report: no supply.
        if (r == RigaSentinella && E.NumBobine != 1) {
            f.CmdAll.setEnabled(false);
            f.CmdReset.setEnabled(false);
            f.CmdSalva.setEnabled(false);
            f.CmdCarica.setEnabled(false);
            f.LblAlimentazione.setVisible(true);
            if (m.Espansioni(1).RevPic > 33 && m.RevAtmel > 33)
                f.CmdReset.setEnabled(true);
        }

        const RigaDiagnosi& d = m.Diagnosi(r);
        coloraPerStato(b, d.Stato);
        if (d.Relax == 1)
            b.setBold(true);
        else if (d.Relax == 0)
            b.setBold(false);
    }

    // 9. Buttons the body cannot hold.
    for (int i = std::max(0, 2 * static_cast<int>(E.NumPosti)); i < 16; ++i)
        f.Bobina[static_cast<std::size_t>(i)]->setVisible(false);

    // 10-11. No coil selected, no stroke count.
    for (Control* s : f.Shape6)
        s->setVisible(false);
    f.TxtColpi.setText("");

    // 12. Re-check of interrupted coils.
    if (f.LblAlimentazione.visible() && m.RevAtmel >= 46)
        ricontrollo(c, Indice, invio);
}

} // namespace

std::vector<RecordConf> RecordsGetConf(std::string& R, const Model& m, int corpo)
{
    std::vector<RecordConf> out;
    Taglio t(R);
    auto arrotonda = [](double v, int& out) {
        if (!std::isfinite(v) || v < -32768.5 || v > 32767.5)
            return false;
        out = static_cast<int>(std::nearbyint(v));
        return true;
    };
    for (int e = 1; e <= m.NumEspansioni && e <= MaxEspansioni && e <= corpo; ++e) {
        long p = t.tab();
        if (p == 0)
            return out;
        t.drop(p - 1);
        t.drop(4);
        const int n = m.Espansioni(e).NumBobine;
        for (int j = 1; j <= n; ++j) {
            p = t.tab();
            if (p <= 1)
                return out;  // no field left to read
            const double primo = valoreIniziale(t.head(p - 1));
            t.drop(p - 1);
            const double secondo = valoreIniziale(t.head(p - 1));
            t.drop(p - 1);
            RecordConf rec{};
            if (e == corpo && arrotonda(primo, rec.posizione) && arrotonda(secondo, rec.indice))
                out.push_back(rec);
        }
    }
    return out;
}

void DisegnaEspansione(Configuratore& c, int Indice)
{
    disegna(c, Indice, &Channel::InviaComando);
}

void DisegnaEspansioneAvvio(Configuratore& c, int Indice)
{
    disegna(c, Indice, &Channel::InviaComandoOppureErrore);
}

void Combo1_Click(Configuratore& c)
{
    const int indice = c.f.Combo1.listIndex();
    if (indice == -1)
        return;
    DisegnaEspansione(c, indice);
    c.m.EspansioneCorrente = static_cast<std::int16_t>(c.f.Combo1.listIndex());
}

} // namespace ondrix
