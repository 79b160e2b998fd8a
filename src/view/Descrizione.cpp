#include "view/Descrizione.h"

#include "form/Form.h"

#include <algorithm>
#include <array>

namespace ondrix {

namespace {

// The legend's words without the blanks and the " /" that part them on screen.
std::string parole(const Control& etichetta)
{
    std::string s = etichetta.caption();
    while (!s.empty() && (s.back() == ' ' || s.back() == '/'))
        s.pop_back();
    return s.substr(std::min(s.size(), s.find_first_not_of(' ')));
}

template <std::size_t N>
std::string posto(const std::array<Control*, N>& bottoni, int i)
{
    int mostrati = 0;
    for (const Control* b : bottoni)
        mostrati += b->visible() ? 1 : 0;
    return std::to_string(i + 1) + "/" + std::to_string(mostrati);
}

} // namespace

std::string DescrizioneBobina(const Form& f, int i)
{
    const Control& b = *f.Bobina.at(i);
    const Rgb c = b.backColor();
    std::string s = posto(f.Bobina, i);
    if (c == colore::GialloPallido)
        return s + ": " + parole(f.Label6);  // the caption is the position
    if (!b.caption().empty())
        s += " #" + b.caption();
    const Control* stato = c == colore::Verde     ? &f.Label3
                           : c == colore::Arancio ? &f.Label4
                           : c == colore::Grigio  ? &f.Label5
                           : c == colore::Rosso   ? &f.Label7
                                                  : nullptr;
    if (!stato)
        return s;
    s += ": " + parole(*stato);
    if (stato != &f.Label5)
        s += " - " + parole(b.bold() ? f.Label9 : f.Label8);
    return s;
}

std::string DescrizioneIngresso(const Form& f, int i)
{
    const Control& b = *f.DInput.at(i);
    const Rgb c = b.backColor();
    std::string s = posto(f.DInput, i);
    const Control* stato = c == colore::Verde           ? &f.Label11
                           : c == colore::Giallo        ? &f.Label10
                           : c == colore::GialloPallido ? &f.Label12
                                                        : nullptr;
    if (stato != &f.Label12 && !b.caption().empty())
        s += " #" + b.caption();  // a disabled input shows "D"
    if (stato)
        s += ": " + parole(*stato);
    return s;
}

Descrizioni DescrizioniToccate(const Form& f, const Control& ctl)
{
    if (&ctl == &f.Label10 || &ctl == &f.Label11 || &ctl == &f.Label12 || ctl.name() == "DInput")
        return Descrizioni::Ingressi;
    for (const Control* l : {&f.Label3, &f.Label4, &f.Label5, &f.Label6, &f.Label7, &f.Label8, &f.Label9})
        if (&ctl == l)
            return Descrizioni::Bobine;
    return ctl.name() == "Bobina" ? Descrizioni::Bobine : Descrizioni::Nessuna;
}

} // namespace ondrix
