// Expansion drawing: one body of the island in the output panel, its coil
// buttons coloured by state, the supply warning, the termination / baud-rate
// button of the head and the re-check of interrupted coils.

#include "view/Vista.h"

#include "frame/Sessione.h"
#include "frame/Terminazione.h"
#include "island/Lettura.h"
#include "island/Numeri.h"
#include "island/Regole.h"
#include "island/Tabelle.h"

#include <algorithm>

namespace ondrix {

namespace {

// The body's picture: the one of its stations, and for the head the
// connector block, its connectors and the main controller's revision. A
// count of stations without a picture leaves the panel as it was.
bool mostraCorpo(Form& f, int numPosti, bool testa)
{
    Control* corpo = numPosti == 2 ? &f.Corpo2Posti : numPosti == 4 ? &f.Corpo4Posti
                   : numPosti == 8 ? &f.Corpo8Posti : nullptr;
    if (!corpo)
        return false;
    for (Control* c : {&f.Corpo2Posti, &f.Corpo4Posti, &f.Corpo8Posti})
        c->setVisible(c == corpo);
    const bool connettori = testa && numPosti == 8;
    for (Control* c : {&f.CorpoConnettori, &f.ConnettoreProfibus, &f.ConnettoreSeriale,
                       &f.ConnettoreAlimentazione, &f.ATMEL})
        c->setVisible(connettori);
    return connettori;
}

// The head's termination (PROFIBUS) or baud-rate (CANopen, DeviceNet) button.
void terminazione(Sessione& c)
{
    Model& m = c.m;
    Form& f = c.f;
    if (m.Protocollo == protocollo::Profibus) {
        if (m.RevAtmel < firmware::AtmelTerminazione)
            return;
        f.CmdTerminazione.setVisible(true);
        MostraTerminazione(f, m.testi, StatoTerminazione(c.ch));
    } else if (haBaudRate(m.Protocollo)) {
        f.CmdTerminazione.setVisible(true);
        MostraBaudRate(f, m);
    }
}

// A configured coil the diagnosis does not report: the valves have no supply.
void avvisoAlimentazione(const Model& m, Form& f)
{
    f.CmdAll.setEnabled(false);
    f.CmdReset.setEnabled(false);
    f.CmdSalva.setEnabled(false);
    f.CmdCarica.setEnabled(false);
    f.LblAlimentazione.setVisible(true);
    if (revTesta(m) >= firmware::TestaReset && m.RevAtmel >= firmware::AtmelReset)
        f.CmdReset.setEnabled(true);
}

// A coil button by the diagnosis row of its coil: colour, enabled, weight.
void coloraBobina(Control& b, const RigaDiagnosi& d)
{
    if (auto col = coloreStato(d.Stato))
        b.setBackColor(*col);
    if (selezionabile(d.Stato))
        b.setEnabled(true);
    if (d.Relax == 1)
        b.setBold(true);
    else if (d.Relax == 0)
        b.setBold(false);
}

// Every button of the panel empty, grey and disabled; then the body's coils,
// each on the button of its position.
void bobine(Model& m, Form& f, int Indice, const Espansione& corpo)
{
    for (Control* b : f.Bobina) {
        b->setVisible(true);
        b->setBackColor(colore::Grigio);
        b->setCaption("");
        b->setEnabled(false);
    }

    const int prima = bobinePrima(m, Indice + 1);
    m.PrimaBobina = static_cast<std::int16_t>(std::min(prima, 32767));

    for (int j = 1; j <= corpo.NumBobine; ++j) {
        const int riga = prima + j;
        if (!m.ConfBobine.valid(riga))
            break;  // past the coil table
        const ConfBobina cb = m.ConfBobine(riga);
        if (cb.Posizione < 1 || cb.Posizione > PosizioniCorpo)
            continue;  // no button for this position
        Control& b = *f.Bobina[static_cast<std::size_t>(cb.Posizione - 1)];

        if (cb.Indice == IndiceDisabilitato) {
            b.setBackColor(ColoreDisabilitata);
            b.setEnabled(true);
            b.setCaption(testo(cb.Posizione));
            b.setBold(false);
            continue;
        }
        b.setCaption(cb.Indice == IndiceSentinella ? std::string() : testo(cb.Indice));

        coloraBobina(b, m.Diagnosi(rigaDiagnosiOSentinella(m, cb.Indice)));
    }
    if (senzaAlimentazione(m, Indice + 1))
        avvisoAlimentazione(m, f);

    // Buttons the body cannot hold.
    for (int i = std::max(0, 2 * static_cast<int>(corpo.NumPosti)); i < PosizioniCorpo; ++i)
        f.Bobina[static_cast<std::size_t>(i)]->setVisible(false);
}

// Coils reported interrupted ("I") whose index the island's configuration
// places on the drawn body are shown red again.
void ricontrollo(Sessione& c, int Indice)
{
    Model& m = c.m;
    for (int r = 1; r <= MaxDiagnosi; ++r) {
        if (m.Diagnosi(r).Stato != stato::GuastaI)
            continue;
        for (const RecordConf& rec : ConfDelCorpo(c.ch, m, Indice + 1)) {
            if (rec.indice != m.Diagnosi(r).Indice)
                continue;
            if (rec.posizione < 1 || rec.posizione > PosizioniCorpo)
                continue;  // no such button
            Control& b = *c.f.Bobina[static_cast<std::size_t>(rec.posizione - 1)];
            b.setBackColor(*coloreStato(stato::GuastaI));
            b.setEnabled(true);
            b.setCaption(testo(rec.indice));
            b.setBold(false);
        }
    }
}

} // namespace

void DisegnaEspansione(Sessione& c, int Indice)
{
    Model& m = c.m;
    Form& f = c.f;

    f.Frame2.setVisible(true);
    f.Frame1.setVisible(false);
    f.LblAlimentazione.setVisible(false);

    // A position that names no body read from the island draws nothing.
    if (Indice < 0 || Indice >= m.NumEspansioni || Indice >= MaxEspansioni)
        return;
    const Espansione corpo = m.Espansioni(Indice + 1);

    // The list, the firmware caption, the buttons that need a selected coil.
    if (Indice < static_cast<int>(f.Combo1.list().size()))
        f.Combo1.setListIndex(Indice);
    f.PIC.setCaption(finoAlDuePunti(f.PIC.caption()) + testo(corpo.RevPic));
    f.CmdAbilita.setEnabled(false);
    f.CmdAziona.setEnabled(false);
    f.CmdTerminazione.setVisible(false);
    f.CmdPAddress.setVisible(true);

    if (mostraCorpo(f, corpo.NumPosti, Indice == 0))
        terminazione(c);
    bobine(m, f, Indice, corpo);

    // No coil selected, no stroke count.
    for (Control* s : f.Shape6)
        s->setVisible(false);
    f.TxtColpi.setText("");

    if (f.LblAlimentazione.visible() && leggeConf(m))
        ricontrollo(c, Indice);
}

void Combo1_Click(Sessione& c)
{
    const int indice = c.f.Combo1.listIndex();
    if (indice == -1)
        return;
    DisegnaEspansione(c, indice);
    c.m.EspansioneCorrente = static_cast<std::int16_t>(c.f.Combo1.listIndex());
}

} // namespace ondrix
