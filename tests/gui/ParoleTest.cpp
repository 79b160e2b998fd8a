// The coil buttons and the input buttons say their state in words, as a
// screen reader finds them through the toolkit's accessibility interface:
// body or module, place, fieldbus index and state in the resource file's
// words and the legend's own captions, kept current when the state or the
// legend changes.

#include "GuiSupport.h"

#include "gui/MainWindow.h"

#include <QAccessible>

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using test::clickCentreOf;
using Parole = test::IslandWindow;

std::string nome(QWidget* w)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name).toStdString() : "(no accessible interface)";
}

TEST_F(Parole, CoilAndInputButtonsSayTheirStateInTheLegendsWords)
{
    const auto bobina = [&](int i) { return nome(w.widget(*f.Bobina[i])); };

    // The default island's head: every state, relax on some coils.
    EXPECT_EQ(bobina(0), "CORPO 0, POSIZIONE 1, INDICE 0: BOBINA PRESENTE NON ATTIVATA - RELAX ATTIVO");
    EXPECT_EQ(bobina(1), "CORPO 0, POSIZIONE 2, INDICE 1: BOBINA PRESENTE ATTIVATA - RELAX NON ATTIVO");
    EXPECT_EQ(bobina(3), "CORPO 0, POSIZIONE 4, INDICE 3: BOBINA GUASTA - RELAX NON ATTIVO");
    EXPECT_EQ(bobina(5), "CORPO 0, POSIZIONE 6: BOBINA PRESENTE DISABILITATA");
    EXPECT_EQ(bobina(14), "CORPO 0, POSIZIONE 15: BOBINA ASSENTE");
    EXPECT_EQ(w.widget(*f.Bobina[1])->toolTip().toStdString(), bobina(1));

    // Energised by the technician: the words follow the colour.
    clickCentreOf(w, *f.Bobina[0]);
    clickCentreOf(w, f.CmdAziona);
    EXPECT_EQ(bobina(0), "CORPO 0, POSIZIONE 1, INDICE 0: BOBINA PRESENTE ATTIVATA - RELAX ATTIVO");
    // Another resource file's legend: the words follow it.
    f.Label3.setCaption("COIL PRESENT, ENERGISED");
    f.Label8.setCaption("RELAX OFF  /");
    EXPECT_EQ(bobina(1), "CORPO 0, POSIZIONE 2, INDICE 1: COIL PRESENT, ENERGISED - RELAX OFF");

    // The inputs of the first module: place and state.
    clickCentreOf(w, f.OptInput);
    EXPECT_EQ(nome(w.widget(*f.DInput[1])), "MODULO 1, INGRESSO 2: INGRESSO NON ATTIVATO");
    EXPECT_EQ(nome(w.widget(*f.DInput[2])), "MODULO 1, INGRESSO 3: INGRESSO DISABILITATO");
    f.Label10.setCaption("INPUT OFF");
    EXPECT_EQ(nome(w.widget(*f.DInput[1])), "MODULO 1, INGRESSO 2: INPUT OFF");
}

} // namespace
} // namespace ondrix
