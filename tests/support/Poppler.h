#pragma once
// The service report read back as its reader sees it, with poppler's tools
// (pdftotext, pdftoppm, pdffonts); and what a coil's table row and square
// must show, worked out from the simulated island's own state.

#include "form/Colore.h"
#include "sim/Scenario.h"

#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace ondrix::test {

// The standard output of a poppler tool; the test fails when it cannot run.
inline std::string poppler(const QString& strumento, const QStringList& argomenti)
{
    QProcess p;
    p.start(strumento, argomenti);
    if (!p.waitForFinished(60'000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << strumento.toStdString() << " did not run (poppler-utils): "
                      << p.readAllStandardError().toStdString();
        return {};
    }
    return p.readAllStandardOutput().toStdString();
}

// The words of every page, laid out as on the page (a table row on one line).
inline std::string testoPdf(const std::string& file)
{
    return poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QString::fromStdString(file),
                                                 QStringLiteral("-")});
}

inline bool contiene(const std::string& testo, const std::string& espressione)
{
    return QRegularExpression(QString::fromStdString(espressione), QRegularExpression::MultilineOption)
        .match(QString::fromStdString(testo))
        .hasMatch();
}

// The colour a coil's square must have.
inline Rgb coloreAtteso(const sim::Coil& c)
{
    if (c.index == sim::DisabledIndex)
        return {255, 255, 128};
    switch (c.diagnosis) {
    case 'A':
        return {192, 192, 192};
    case 'C':
    case 'I':
        return {255, 0, 0};
    default:
        return c.energised ? Rgb{0, 255, 0} : Rgb{255, 128, 0};
    }
}

// Its state in the legend's words of the shipped Italian file.
inline std::string paroleAttese(const sim::Coil& c)
{
    if (c.index == sim::DisabledIndex)
        return "BOBINA PRESENTE DISABILITATA";
    switch (c.diagnosis) {
    case 'A':
        return "BOBINA ASSENTE";
    case 'C':
    case 'I':
        return "BOBINA GUASTA";
    default:
        return c.energised ? "BOBINA PRESENTE ATTIVATA" : "BOBINA PRESENTE NON ATTIVATA";
    }
}

// Whole strokes grouped by three with this process's locale separator, as
// the window's stroke counter shows them.
inline std::string colpiAttesi(std::int64_t strokes)
{
    const std::string cifre = std::to_string(strokes / 1000 * 1000);
    const std::string sep = QLocale::system().groupSeparator().toStdString();
    std::string s;
    for (std::size_t i = 0; i < cifre.size(); ++i) {
        if (i > 0 && (cifre.size() - i) % 3 == 0)
            s += sep;
        s += cifre[i];
    }
    return s;
}

// The table row of coil c of body `corpo`, as a pattern for one line of
// testoPdf; strokes: the count shown, or nothing for a dash.
inline std::string rigaAttesa(int corpo, const sim::Coil& c, const std::optional<std::string>& colpi)
{
    const std::string trattino = "\xE2\x80\x93";
    const std::string indice = c.index == sim::DisabledIndex ? trattino : std::to_string(c.index);
    const std::string spazio = "\\s+";
    return "^\\s*" + std::to_string(corpo) + spazio + std::to_string(c.position) + spazio + indice + spazio +
           paroleAttese(c) + spazio + (c.relax ? "SÌ" : "NO") + spazio +
           QRegularExpression::escape(QString::fromStdString(colpi.value_or(trattino))).toStdString() +
           "\\s*$";
}

} // namespace ondrix::test
