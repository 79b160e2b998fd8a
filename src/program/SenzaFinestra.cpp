#include "program/SenzaFinestra.h"

#include "channel/EndRequest.h"
#include "config/Configurazione.h"
#include "config/Confronto.h"
#include "config/File.h"
#include "config/Formato.h"
#include "frame/Terminazione.h"
#include "island/Codifica.h"
#include "island/Numeri.h"
#include "island/Regole.h"
#include "island/Tabelle.h"
#include "program/Avvio.h"
#include "program/Configuratore.h"
#include "program/Eventi.h"
#include "program/Porte.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace ondrix {

MessageAnswer HostRiga::messageBox(const std::string& text, const std::string&, MessageButtons buttons)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    if (buttons != MessageButtons::YesNo)
        return MessageAnswer::Ok;
    if (!si_)
        std::fputs("(answered no: --yes answers yes)\n", stderr);
    return si_ ? MessageAnswer::Yes : MessageAnswer::No;
}

namespace {

// One coil as the island reported it.
struct StatoBobina {
    int posizione = 0;
    std::optional<int> indice;  // nothing: disabled
    int stato = stato::Assente;
    bool relax = false;
};

std::vector<StatoBobina> bobineDelCorpo(const Model& m, int riga)
{
    const int prima = bobinePrima(m, riga);
    std::vector<StatoBobina> out;
    for (int j = 1; j <= m.Espansioni(riga).NumBobine; ++j) {
        if (!m.ConfBobine.valid(prima + j))
            break;
        const ConfBobina& cb = m.ConfBobine(prima + j);
        StatoBobina b;
        b.posizione = cb.Posizione;
        if (cb.Indice != IndiceDisabilitato) {
            b.indice = cb.Indice;
            const RigaDiagnosi& d = m.Diagnosi(rigaDiagnosiOSentinella(m, cb.Indice));
            b.stato = d.Stato;
            b.relax = d.Relax == 1;
        }
        out.push_back(b);
    }
    return out;
}

std::string parolaStato(const StatoBobina& b)
{
    if (!b.indice)
        return "disabled";
    switch (b.stato) {
    case stato::Presente:
        return "present";
    case stato::Attivata:
        return "present, energised";
    case stato::GuastaC:
    case stato::GuastaI:
        return "faulty";
    default:
        return "absent";
    }
}

// The baud rate's text of a CANopen or DeviceNet island.
std::optional<std::string> baudRate(const Model& m)
{
    if (!haBaudRate(m.Protocollo))
        return std::nullopt;
    return testoBaudRate(m, m.IndiceBaudRate);
}

// Prints a line of progress unless --quiet.
struct Avanzamento {
    bool zitto;
    void operator()(const std::string& s) const
    {
        if (!zitto)
            std::fprintf(stderr, "%s\n", s.c_str());
    }
};

// The island's file and the file at nome, read the same way; the differences.
std::optional<std::vector<std::string>> confronta(const Configuratore& c, const std::string& bytesFile)
{
    const auto isola = leggiContenutoFile(righeDi(decodificaTesto(
        scriviConfigurazione(c.m, c.f.PROFIBUS.caption(), c.f.CmdTerminazione.caption()))));
    const auto file = leggiContenutoFile(righeDi(decodificaTesto(bytesFile)));
    if (!isola || !file)
        return std::nullopt;
    return differenze(*isola, *file);
}

// "EXIT SV", the port closed: what every mode does before it ends.
int lascia(Configuratore& c, const Avanzamento& passo, int stato)
{
    c.invia(dialogo::ExitSv());
    try {
        c.port.close();
    } catch (const PortError&) {
    }
    passo("service mode left");
    return stato;
}

void stampaDifferenze(const std::vector<std::string>& differenze)
{
    for (const std::string& riga : differenze)
        std::fprintf(stdout, "%s\n", riga.c_str());
}

// The search, service mode entered and the island read, as the window's start-up.
void trovaIsola(Configuratore& c, const Avanzamento& passo)
{
    passo("searching for the island");
    eventoLoad(c);
    eventoActivate(c);
    passo("island on " + nomePorta(c.port.portNumber(), c.port.device()) + ": " +
          testo(c.m.NumEspansioni) + " bodies, " + testo(c.m.TotaleBobine) + " coils, " +
          testo(c.m.NumModuli) + " input modules read");
}

int modoInfo(Configuratore& c, const Opzioni& o, const Avanzamento& passo)
{
    const std::string s = o.json ? jsonIsola(c.m, c.f, c.port) : descrizioneIsola(c.m, c.f, c.port);
    std::fputs(s.c_str(), stdout);
    return lascia(c, passo, uscita::Fatto);
}

int modoSalva(Configuratore& c, const Opzioni& o, const Avanzamento& passo)
{
    if (const auto errore = salvaConfigurazione(c, o.file)) {
        std::fprintf(stderr, "%s\n", messaggioSalvataggioFallito(o.file, *errore).c_str());
        return lascia(c, passo, uscita::File);
    }
    passo("saved " + o.file);
    return lascia(c, passo, uscita::Fatto);
}

int modoCarica(Configuratore& c, const Opzioni& o, const Avanzamento& passo)
{
    passo("checking " + o.file + " against the island");
    const Caricamento esito = caricaConfigurazione(c, o.file);
    if (esito.esito == Caricamento::Esito::Illeggibile) {
        std::fprintf(stderr, "%s\n", messaggioLetturaFallita(o.file, esito.motivo).c_str());
        return lascia(c, passo, uscita::File);
    }
    if (esito.esito == Caricamento::Esito::Rifiutato) {
        std::fprintf(stderr, "%s\n", c.m.testi.Messaggi(msg::Configurazione).c_str());
        return lascia(c, passo, uscita::Rifiutato);
    }
    passo("written to the island; reading it again");
    // As after the window's load: the start-up reads the island again.
    Form_Activate(c);
    const FileLetto f = leggiFileConfigurazione(o.file);
    const auto d = f.ok() ? confronta(c, f.bytes) : std::nullopt;
    if (!d)
        return lascia(c, passo, uscita::File);
    stampaDifferenze(*d);
    if (!d->empty())
        return lascia(c, passo, uscita::Differenze);
    std::fprintf(stderr, "%s\n", c.m.testi.Messaggi(msg::Successo).c_str());
    return lascia(c, passo, uscita::Fatto);
}

int modoVerifica(Configuratore& c, const Opzioni& o, const Avanzamento& passo, const std::string& bytesFile)
{
    const auto d = confronta(c, bytesFile);
    if (!d) {
        std::fprintf(stderr, "%s\n", c.m.testi.Messaggi(msg::Configurazione).c_str());
        return lascia(c, passo, uscita::Rifiutato);
    }
    stampaDifferenze(*d);
    passo(d->empty() ? "the island equals " + o.file
                     : testo(static_cast<long>(d->size())) + " differences from " + o.file);
    return lascia(c, passo, d->empty() ? uscita::Fatto : uscita::Differenze);
}

// The report is written once service mode has been left: a time-out or a
// lost line on the way leaves no file.
int modoRapporto(Configuratore& c, const Opzioni& o, const Avanzamento& passo, const ScriviRapporto& scrivi)
{
    if (o.contatori)
        passo("reading the stroke counters");
    const Rapporto r = rapportoIsola(c, o.contatori);
    lascia(c, passo, uscita::Fatto);
    if (const auto errore = scrivi ? scrivi(r, o.file) : std::optional<std::string>("no PDF writer")) {
        std::fprintf(stderr, "%s\n", messaggioRapportoFallito(c.m.testi, o.file, *errore).c_str());
        return uscita::File;
    }
    passo("report written to " + o.file);
    return uscita::Fatto;
}

} // namespace

std::string descrizioneIsola(const Model& m, const Form& f, const SerialPort& port)
{
    std::string s;
    const auto riga = [&](const std::string& r) { s += r + "\n"; };
    riga("port: " + nomePorta(port.portNumber(), port.device()));
    riga("fieldbus: " + nomeProtocollo(m.Protocollo));
    riga("slave address: " + indirizzoDaCaption(f.PROFIBUS.caption()));
    if (const auto t = terminazioneMostrata(m, f))
        riga(std::string("termination: ") + (*t ? "ON" : "OFF"));
    if (const auto baud = baudRate(m))
        riga("baud rate: " + *baud + " (code " + testo(m.IndiceBaudRate) + ")");
    riga("firmware: main " + testo(m.RevAtmel) + ", head " + testo(revTesta(m)));
    for (int e = 1; e <= m.NumEspansioni; ++e) {
        const Espansione& corpo = m.Espansioni(e);
        riga("body " + testo(corpo.Numero) + (e == 1 ? " (head)" : "") + ": " + testo(corpo.NumPosti) +
             " stations, firmware " + testo(corpo.RevPic));
        for (const StatoBobina& b : bobineDelCorpo(m, e))
            riga("  coil " + testo(b.posizione) + ": " +
                 (b.indice ? "index " + testo(*b.indice) + ", " : std::string()) + parolaStato(b) +
                 (b.relax ? ", relax" : ""));
    }
    for (int k = 1; k <= m.NumModuli; ++k) {
        const Modulo& mod = m.Moduli(k);
        riga("input module " + testo(k) + ": " + nomeTipoModulo(mod.Tipo) + ", address " + testo(mod.Indirizzo) +
             ", firmware " + testo(mod.RevPic));
    }
    return s;
}

std::string jsonIsola(const Model& m, const Form& f, const SerialPort& port)
{
    QJsonObject o;
    o[QStringLiteral("port")] = QJsonObject{{QStringLiteral("number"), port.portNumber()},
                                           {QStringLiteral("device"), QString::fromStdString(port.device())}};
    o[QStringLiteral("fieldbus")] = QString::fromStdString(nomeProtocollo(m.Protocollo));
    o[QStringLiteral("slaveAddress")] = m.IndirizzoSlave ? QJsonValue(*m.IndirizzoSlave) : QJsonValue();
    const auto t = terminazioneMostrata(m, f);
    o[QStringLiteral("termination")] = t ? QJsonValue(*t) : QJsonValue();
    if (const auto baud = baudRate(m))
        o[QStringLiteral("baudRate")] = QJsonObject{{QStringLiteral("code"), m.IndiceBaudRate},
                                                    {QStringLiteral("text"), QString::fromStdString(*baud)}};
    else
        o[QStringLiteral("baudRate")] = QJsonValue();
    o[QStringLiteral("firmware")] =
        QJsonObject{{QStringLiteral("main"), m.RevAtmel}, {QStringLiteral("head"), revTesta(m)}};
    QJsonArray corpi;
    for (int e = 1; e <= m.NumEspansioni; ++e) {
        const Espansione& corpo = m.Espansioni(e);
        QJsonArray bobine;
        for (const StatoBobina& b : bobineDelCorpo(m, e))
            bobine.append(QJsonObject{
                {QStringLiteral("position"), b.posizione},
                {QStringLiteral("index"), b.indice ? QJsonValue(*b.indice) : QJsonValue()},
                {QStringLiteral("disabled"), !b.indice},
                {QStringLiteral("present"), b.indice && b.stato != stato::Assente},
                {QStringLiteral("energised"), b.indice && b.stato == stato::Attivata},
                {QStringLiteral("faulty"), b.indice && guasta(b.stato)},
                {QStringLiteral("relax"), b.relax}});
        corpi.append(QJsonObject{{QStringLiteral("number"), corpo.Numero},
                                 {QStringLiteral("stations"), corpo.NumPosti},
                                 {QStringLiteral("firmware"), corpo.RevPic},
                                 {QStringLiteral("coils"), bobine}});
    }
    o[QStringLiteral("bodies")] = corpi;
    QJsonArray moduli;
    for (int k = 1; k <= m.NumModuli; ++k) {
        const Modulo& mod = m.Moduli(k);
        moduli.append(QJsonObject{{QStringLiteral("type"), QString::fromStdString(nomeTipoModulo(mod.Tipo))},
                                  {QStringLiteral("inputs"), mod.NumIngressi},
                                  {QStringLiteral("address"), mod.Indirizzo},
                                  {QStringLiteral("firmware"), mod.RevPic}});
    }
    o[QStringLiteral("inputModules")] = moduli;
    return QJsonDocument(o).toJson(QJsonDocument::Indented).toStdString();
}

int eseguiSenzaFinestra(const Opzioni& o, HostRiga& host, SerialPort& port, const std::vector<int>& porte,
                        const ScriviRapporto& scrivi)
{
    const Avanzamento passo{o.silenzioso};
    Configuratore c(host, port);
    if (!porte.empty())
        c.porteRicerca = porte;
    const Registration richiestaFine = listenForEndRequests([&c] { eventoRichiestaFine(c); });

    // A file that cannot be read is told before the island is touched.
    std::string bytesFile;
    if (o.modo == Opzioni::Modo::Verifica || o.modo == Opzioni::Modo::Carica) {
        const FileLetto f = leggiFileConfigurazione(o.file);
        if (!f.ok()) {
            std::fprintf(stderr, "%s\n", messaggioLetturaFallita(o.file, f.errore).c_str());
            return uscita::File;
        }
        bytesFile = f.bytes;
    }

    trovaIsola(c, passo);
    switch (o.modo) {
    case Opzioni::Modo::Info:
        return modoInfo(c, o, passo);
    case Opzioni::Modo::Salva:
        return modoSalva(c, o, passo);
    case Opzioni::Modo::Carica:
        return modoCarica(c, o, passo);
    case Opzioni::Modo::Verifica:
        return modoVerifica(c, o, passo, bytesFile);
    case Opzioni::Modo::Rapporto:
        return modoRapporto(c, o, passo, scrivi);
    case Opzioni::Modo::Finestra:
        break;
    }
    return uscita::Uso;
}

} // namespace ondrix
