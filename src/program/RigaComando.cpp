#include "program/RigaComando.h"

#include "Versione.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>

namespace ondrix {

namespace {

// The toolkit's options of a window program, with and without a value.
const char* const OpzioniQtConValore[] = {"platform", "platformpluginpath", "platformtheme",
                                          "display", "style", "stylesheet", "qwindowgeometry",
                                          "qwindowtitle", "qwindowicon", "session", "plugin"};
const char* const OpzioniQtSenzaValore[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QCommandLineOption nascosta(const QString& nome, bool conValore)
{
    QCommandLineOption o(nome);
    if (conValore)
        o.setValueName(QStringLiteral("x"));
    o.setFlags(QCommandLineOption::HiddenFromHelp);
    return o;
}

// The options the two programs know, as the parser is given them.
struct Definizioni {
    const QCommandLineOption aiuto{QStringList{QStringLiteral("help"), QStringLiteral("h")}};
    const QCommandLineOption ver{QStringLiteral("version")};
    const QCommandLineOption porta{QStringLiteral("port"), {}, QStringLiteral("N|DEVICE")};
    const QCommandLineOption traccia{QStringLiteral("trace"), {}, QStringLiteral("FILE")};
    const QCommandLineOption info{QStringLiteral("info")};
    const QCommandLineOption json{QStringLiteral("json")};
    const QCommandLineOption salva{QStringLiteral("save"), {}, QStringLiteral("FILE")};
    const QCommandLineOption carica{QStringLiteral("load"), {}, QStringLiteral("FILE")};
    const QCommandLineOption verifica{QStringLiteral("verify"), {}, QStringLiteral("FILE")};
    const QCommandLineOption si{QStringLiteral("yes")};
    const QCommandLineOption zitto{QStringLiteral("quiet")};
    const QCommandLineOption foto{QStringLiteral("screenshot"), {}, QStringLiteral("FILE")};
    const QCommandLineOption rapporto{QStringLiteral("report"), {}, QStringLiteral("FILE")};
    const QCommandLineOption contatori{QStringLiteral("counters")};
};

// The options of one program, and the toolkit's, which are let through.
void preparaParser(QCommandLineParser& p, const Definizioni& d, bool demo)
{
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    p.addOptions({d.aiuto, d.ver, d.rapporto, d.contatori});
    if (demo)
        p.addOption(d.foto);
    else
        p.addOptions({d.porta, d.traccia, d.info, d.json, d.salva, d.carica, d.verifica, d.si, d.zitto});
    for (const char* n : OpzioniQtConValore)
        p.addOption(nascosta(QString::fromLatin1(n), true));
    for (const char* n : OpzioniQtSenzaValore)
        p.addOption(nascosta(QString::fromLatin1(n), false));
}

// The demo: --screenshot or --report [--counters], and a scenario file.
void leggiDemo(const QCommandLineParser& p, const Definizioni& d, Opzioni& o)
{
    const QStringList posizionali = p.positionalArguments();
    o.screenshot = p.value(d.foto).toStdString();
    if (p.isSet(d.foto) && o.screenshot.empty())
        o.errore = "--screenshot needs a file name";
    if (p.isSet(d.rapporto)) {
        o.modo = Opzioni::Modo::Rapporto;
        o.file = p.value(d.rapporto).toStdString();
        if (o.file.empty())
            o.errore = "--report needs a file name";
        if (p.isSet(d.foto))
            o.errore = "--screenshot and --report go one at a time";
    }
    if (o.contatori && o.modo != Opzioni::Modo::Rapporto)
        o.errore = "--counters goes with --report";
    if (posizionali.size() > 1)
        o.errore = "more than one scenario file";
    else if (posizionali.size() == 1)
        o.scenario = posizionali.front().toLocal8Bit().toStdString();
}

// The configurator's mode: at most one of --info, --save, --load, --verify
// and --report, each but --info with its file.
void leggiModo(const QCommandLineParser& p, const Definizioni& d, Opzioni& o)
{
    int modi = 0;
    const auto modo = [&](const QCommandLineOption& opzione, Opzioni::Modo m) {
        if (!p.isSet(opzione))
            return;
        ++modi;
        o.modo = m;
        o.file = p.value(opzione).toStdString();
        if (m != Opzioni::Modo::Info && o.file.empty())
            o.errore = "--" + opzione.names().front().toStdString() + " needs a file name";
    };
    modo(d.info, Opzioni::Modo::Info);
    modo(d.salva, Opzioni::Modo::Salva);
    modo(d.carica, Opzioni::Modo::Carica);
    modo(d.verifica, Opzioni::Modo::Verifica);
    modo(d.rapporto, Opzioni::Modo::Rapporto);
    if (modi > 1)
        o.errore = "--info, --save, --load, --verify and --report go one at a time";
}

// The configurator: the port, the trace, the mode and what goes with it.
void leggiConfiguratore(const QCommandLineParser& p, const Definizioni& d, Opzioni& o)
{
    const QStringList posizionali = p.positionalArguments();
    if (!posizionali.isEmpty()) {
        o.errore = "unexpected argument: " + posizionali.front().toStdString();
        return;
    }
    if (p.isSet(d.porta)) {
        o.porta = p.value(d.porta).toStdString();
        if (o.porta->empty())
            o.errore = "--port needs a port number 1..16 or a device";
    }
    o.traccia = p.value(d.traccia).toStdString();
    if (p.isSet(d.traccia) && o.traccia.empty())
        o.errore = "--trace needs a file name";

    leggiModo(p, d, o);
    if (o.contatori && o.modo != Opzioni::Modo::Rapporto)
        o.errore = "--counters goes with --report";
    o.json = p.isSet(d.json);
    if (o.json && o.modo != Opzioni::Modo::Info)
        o.errore = "--json goes with --info";
    o.si = p.isSet(d.si);
    o.silenzioso = p.isSet(d.zitto);
}

} // namespace

Opzioni leggiOpzioni(const std::vector<std::string>& argomenti, bool demo)
{
    Opzioni o;
    const Definizioni d;
    QCommandLineParser p;
    preparaParser(p, d, demo);

    QStringList args{QStringLiteral("programma")};
    for (const std::string& a : argomenti)
        args << QString::fromLocal8Bit(a.c_str());
    if (!p.parse(args)) {
        o.errore = p.errorText().toStdString();
        return o;
    }
    o.aiuto = p.isSet(d.aiuto);
    o.versione = p.isSet(d.ver);
    o.contatori = p.isSet(d.contatori);
    if (demo)
        leggiDemo(p, d, o);
    else
        leggiConfiguratore(p, d, o);
    return o;
}

std::optional<int> rispostaImmediata(const Opzioni& o, const char* programma, const std::string& uso)
{
    if (!o.errore.empty()) {
        std::fprintf(stderr, "%s: %s\n\n%s", programma, o.errore.c_str(), uso.c_str());
        return uscita::Uso;
    }
    if (o.aiuto) {
        std::fputs(uso.c_str(), stdout);
        return uscita::Fatto;
    }
    if (o.versione) {
        std::fputs(versione(programma).c_str(), stdout);
        return uscita::Fatto;
    }
    return std::nullopt;
}

std::string versione(const char* programma)
{
    return std::string(programma) + " " + Versione + "\n";
}

std::string usoConfiguratore()
{
    return "usage: ondrix-configuratore [--port N|DEVICE] [--trace FILE] [MODE]\n"
           "\n"
           "Without a mode the window opens: the island is searched on serial ports 1 to 16\n"
           "(or on the port given) and shown.\n"
           "\n"
           "Modes without a window (no display needed); each enters service mode, does its\n"
           "work, leaves service mode and ends:\n"
           "  --info [--json]        print the island's configuration (JSON: see the README)\n"
           "  --save FILE            save the configuration file, as the window's save does\n"
           "  --load FILE            check the file, write it to the island, read it back\n"
           "  --verify FILE          compare the island with the file, one line per difference\n"
           "  --report FILE.pdf [--counters]\n"
           "                         write the service report (PDF); with --counters the\n"
           "                         stroke counters are read too\n"
           "\n"
           "Options:\n"
           "  --port N|DEVICE        use this port alone: a number 1..16, or a device\n"
           "                         (/dev/ttyUSB0 on Linux, COM3 on Windows)\n"
           "  --trace FILE           record every byte sent and received\n"
           "  --yes                  answer the load's questions yes\n"
           "  --quiet                no progress lines on standard error\n"
           "  --help, --version\n"
           "\n"
           "Exit statuses:\n"
           "  0  done (--verify: the island equals the file)\n"
           "  1  --verify found differences\n"
           "  2  a bad command line, or Stringhe.txt missing or incomplete\n"
           "  3  no island found, a reply time-out, or the port lost\n"
           "  4  the file was refused: nothing was sent\n"
           "  5  the file could not be read or written\n"
           "  6  no display: the window cannot open\n";
}

std::string usoDemo()
{
    return "usage: ondrix-configuratore-demo [--screenshot FILE.png | --report FILE.pdf [--counters]]\n"
           "                                 [SCENARIO-FILE]\n"
           "\n"
           "The configurator's window on the built-in simulated island; without a\n"
           "scenario file the demo island. With --screenshot the window is saved as a\n"
           "PNG once the start-up is over and the program ends. With --report the\n"
           "island's service report is written without a window (with --counters its\n"
           "stroke counters too).\n"
           "\n"
           "Exit statuses: 0 done; 1 the picture could not be saved; 2 a bad command\n"
           "line, a bad scenario file or Stringhe.txt unusable; 5 the report could not\n"
           "be written; 6 no display.\n";
}

} // namespace ondrix
