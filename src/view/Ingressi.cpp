// The input panel: one input module with its inputs coloured by state, and
// the option buttons and list that switch between inputs and outputs.

#include "view/Vista.h"

#include "frame/Sessione.h"
#include "island/Model.h"
#include "island/Numeri.h"
#include "island/Regole.h"
#include "island/Tabelle.h"


namespace ondrix {

namespace {

// Colour of an input by its state; nothing for a state that is neither.
void coloraIngresso(Control& b, int stato)
{
    if (stato == 0)
        b.setBackColor(colore::Giallo);
    else if (stato == 1)
        b.setBackColor(colore::Verde);
}

// Caption and colour of an input button from row riga of the inputs.
void disegnaIngresso(const Model& m, Control& b, int riga)
{
    const int numero = m.NumeriIngressi(riga);
    if (numero == IndiceDisabilitato) {
        b.setCaption("D");
        b.setBackColor(colore::GialloPallido);
        return;
    }
    b.setCaption(testo(numero + 1));
    coloraIngresso(b, m.StatoIngressi(riga));
}

} // namespace

std::optional<int> moduloScelto(const Form& f)
{
    const auto n = interoOpzionale(f.Combo2.text());
    if (!n || !Table<int, MaxModuli>::valid(*n))
        return std::nullopt;
    return *n - 1;
}

void DisegnaInput(const Model& m, Form& f, int Indice)
{
    // Only modules 1..10 exist; anything else is not drawn at all.
    if (!Table<Modulo, MaxModuli>::valid(Indice + 1))
        return;
    const Modulo& modulo = m.Moduli(Indice + 1);

    f.Frame2.setVisible(false);
    f.Frame1.setVisible(true);
    if (Indice < static_cast<int>(f.Combo2.list().size()))
        f.Combo2.setListIndex(Indice);
    f.ATMEL.setVisible(false);
    f.CmdTerminazione.setVisible(false);
    f.CmdPAddress.setVisible(false);
    f.PIC.setCaption(finoAlDuePunti(f.PIC.caption()) + testo(modulo.RevPic));

    // A type this program does not know leaves the input buttons as they are.
    if (const auto tipo = tipoModulo(modulo.Tipo)) {
        const int prima = ingressiPrima(m, Indice + 1);
        const int n = tipo->ingressi;
        f.Corpo16In.setVisible(true);
        for (int i = 0; i < 16; ++i) {
            Control& b = *f.DInput[i];
            const int riga = prima + i + 1;
            // A button beyond the module, or without a row of its own, must
            // not go on showing another module's input.
            if (i >= n || !Table<int, MaxIngressi>::valid(riga)) {
                b.setVisible(false);
                continue;
            }
            b.setVisible(true);
            disegnaIngresso(m, b, riga);
        }
        for (int i = 0; i < 11; ++i)
            f.ConnettoreInput[i]->setVisible(n == 16 || i < 4 || i > 7);
    }

    f.CmdAddressIn.setVisible(true);
    const bool offri = m.NumModuli > 0 && m.RevAtmel >= firmware::AtmelIndirizziModuli &&
                       moduliIndirizzabili(m);
    if (!offri)
        f.CmdAddressIn.setVisible(false);
}

void DisegnaInputScelto(const Model& m, Form& f)
{
    if (auto indice = moduloScelto(f))
        DisegnaInput(m, f, *indice);
}

void OptInput_Click(Sessione& c)
{
    c.f.Combo2.setEnabled(true);
    c.f.Combo1.setEnabled(false);
    DisegnaInputScelto(c.m, c.f);
}

void OptOutput_Click(Sessione& c)
{
    c.f.Combo2.setEnabled(false);
    c.f.Combo1.setEnabled(true);
    // The body on show is the list entry selected; its number is the same
    // position on every island, the entry is right on any.
    int indice = c.f.Combo1.listIndex();
    if (indice < 0) {
        const auto numero = interoOpzionale(c.f.Combo1.text());
        if (!numero)
            return;
        indice = *numero;
    }
    if (Table<Espansione, MaxEspansioni>::valid(indice + 1))
        DisegnaEspansione(c, indice);
}

void Combo2_Click(Sessione& c)
{
    const int i = c.f.Combo2.listIndex();
    if (i != -1)
        DisegnaInput(c.m, c.f, i);
}

} // namespace ondrix
