#include "view/Descrizione.h"

#include "form/Form.h"
#include "island/Numeri.h"

#include <algorithm>

namespace ondrix {

std::string paroleLegenda(const Control& etichetta)
{
    std::string s = etichetta.caption();
    while (!s.empty() && (s.back() == ' ' || s.back() == '/'))
        s.pop_back();
    return s.substr(std::min(s.size(), s.find_first_not_of(' ')));
}

const Control* legendaBobina(const Form& f, Rgb c)
{
    return c == colore::Verde           ? &f.Label3
           : c == colore::Arancio       ? &f.Label4
           : c == colore::Grigio        ? &f.Label5
           : c == colore::GialloPallido ? &f.Label6
           : c == colore::Rosso         ? &f.Label7
                                        : nullptr;
}

namespace {

std::string parole(const Control& etichetta) { return paroleLegenda(etichetta); }

// "CORPO 0, POSIZIONE 10": the entry its list shows, and the button's place.
std::string posto(const std::string& gruppo, const Control& lista, const std::string& parola, int i)
{
    const std::string numero = trim(lista.text());
    return (numero.empty() ? "" : gruppo + " " + numero + ", ") + parola + " " + std::to_string(i + 1);
}

} // namespace

std::string DescrizioneBobina(const Form& f, const ParoleLuogo& p, int i)
{
    const Control& b = *f.Bobina.at(i);
    const Rgb c = b.backColor();
    std::string s = posto(p.Corpo, f.Combo1, p.Posizione, i);
    if (c == colore::GialloPallido)
        return s + ": " + parole(f.Label6);  // the caption is the position
    if (!b.caption().empty())
        s += ", " + p.Indice + " " + b.caption();
    const Control* stato = legendaBobina(f, c);
    if (!stato)
        return s;
    s += ": " + parole(*stato);
    if (stato != &f.Label5)
        s += " - " + parole(b.bold() ? f.Label9 : f.Label8);
    return s;
}

std::string DescrizioneIngresso(const Form& f, const ParoleLuogo& p, int i)
{
    const Control& b = *f.DInput.at(i);
    const Rgb c = b.backColor();
    std::string s = posto(p.Modulo, f.Combo2, p.Ingresso, i);
    const Control* stato = c == colore::Verde           ? &f.Label11
                           : c == colore::Giallo        ? &f.Label10
                           : c == colore::GialloPallido ? &f.Label12
                                                        : nullptr;
    if (stato)
        s += ": " + parole(*stato);
    return s;
}

Descrizioni DescrizioniToccate(const Form& f, const Control& ctl)
{
    if (&ctl == &f.Label10 || &ctl == &f.Label11 || &ctl == &f.Label12 || &ctl == &f.Combo2 ||
        ctl.name() == "DInput")
        return Descrizioni::Ingressi;
    for (const Control* l : {&f.Label3, &f.Label4, &f.Label5, &f.Label6, &f.Label7, &f.Label8, &f.Label9,
                             &f.Combo1})
        if (&ctl == l)
            return Descrizioni::Bobine;
    return ctl.name() == "Bobina" ? Descrizioni::Bobine : Descrizioni::Nessuna;
}

} // namespace ondrix
