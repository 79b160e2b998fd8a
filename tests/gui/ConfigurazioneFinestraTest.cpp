// Save and load through the real Qt dialogs, as the technician uses them: the
// save dialog adds ".txt", the load dialog offers the name saved last, a file
// broken by hand is refused with the configuration message and sends nothing.

#include "GuiSupport.h"

#include "program/Configuratore.h"
#include "program/Gestori.h"
#include "gui/QtHost.h"
#include "support/IslandRig.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <sstream>

namespace ondrix {
namespace {

// Answers the modal dialogs as they open, one step per dialog.
class Utente {
public:
    Utente()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || passi_.empty())
                return;
            auto passo = std::move(passi_.front());
            passi_.pop_front();
            passo(w);
        });
        timer_.start();
    }
    // The file dialog: records what it offers, then types nome and accepts.
    void scegli(const QString& nome, QStringList* offerto = nullptr)
    {
        passi_.push_back([this, nome, offerto](QWidget* w) { scegliIn(w, nome, offerto); });
    }
    void scegliIn(QWidget* w, const QString& nome, QStringList* offerto)
    {
        auto* d = qobject_cast<QFileDialog*>(w);
        ASSERT_TRUE(d) << w->metaObject()->className();
        if (offerto)
            *offerto = d->selectedFiles();
        filtri.push_back(d->nameFilters().join(";"));
        // Typed into the name box, as a user does: the dialog lists its folder
        // in the background, and a selection made before that may not take.
        // A file still selected in the lists (the name offered again) would
        // win over the typed one: clear them first.
        for (auto* vista : d->findChildren<QAbstractItemView*>())
            if (vista->selectionModel())
                vista->selectionModel()->clearSelection();
        auto* edit = d->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_TRUE(edit);
        edit->setText(nome);
        static_cast<QDialog*>(d)->accept();  // QFileDialog::accept, through the public base
    }
    // A message box: records its text and presses OK.
    void leggiMessaggio()
    {
        passi_.push_back([this](QWidget* w) {
            auto* b = qobject_cast<QMessageBox*>(w);
            ASSERT_TRUE(b) << w->metaObject()->className();
            messaggi.push_back(b->text().toStdString());
            b->accept();
        });
    }
    std::vector<std::string> messaggi;
    QStringList filtri;

private:
    QTimer timer_;
    std::deque<std::function<void(QWidget*)>> passi_;
};

std::string leggi(const QString& path)
{
    std::ifstream f(path.toStdString(), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

TEST(ConfigurazioneFinestra, SaveAndLoadThroughTheDialogs)
{
    test::guiApp();
    QTemporaryDir tmp;
    QtHost host;
    sim::SimulatedIsland island;
    sim::SimulatedPort port(island, host);
    Configuratore c(host, port);
    c.m = readModel();  // the default island
    c.f.PROFIBUS.setCaption("INDIRIZZO SLAVE: 5");
    c.f.CmdTerminazione.setCaption(c.m.testi.CaptTerminazioneOn);

    // Save: the name typed without its extension gets ".txt".
    Utente u;
    u.scegli(tmp.path() + "/isola");
    u.leggiMessaggio();
    CmdSalva_Click(c);
    const QString salvato = tmp.path() + "/isola.txt";
    ASSERT_TRUE(QFile::exists(salvato));
    EXPECT_EQ(c.f.NomeFile, salvato.toStdString());
    ASSERT_EQ(u.messaggi.size(), 1u);
    EXPECT_EQ(u.messaggi[0], c.m.testi.Messaggi(msg::Successo));
    EXPECT_TRUE(u.filtri.at(0).contains("*.txt"));
    EXPECT_FALSE(host.busyPointer());

    // A copy broken by hand: one coil more than the island has.
    std::string testo = leggi(salvato);
    const auto at = testo.find("[NUMERO TOTALE BOBINE]\r\n 21 ");
    ASSERT_NE(at, std::string::npos);
    testo.replace(at + 24, 4, " 22 ");
    const QString rotto = tmp.path() + "/rotto.txt";
    {
        std::ofstream f(rotto.toStdString(), std::ios::binary);
        f << testo;
    }

    // Load: the dialog offers the saved name; the broken copy is refused.
    QStringList offerto;
    u.scegli(rotto, &offerto);
    u.leggiMessaggio();
    CmdCarica_Click(c);
    ASSERT_EQ(offerto.size(), 1);
    EXPECT_EQ(offerto[0], salvato);
    ASSERT_EQ(u.messaggi.size(), 2u);
    EXPECT_EQ(u.messaggi[1], c.m.testi.Messaggi(msg::Configurazione));
    EXPECT_TRUE(island.lines().empty());
    EXPECT_FALSE(host.busyPointer());
}

} // namespace
} // namespace ondrix
