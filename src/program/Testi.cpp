#include "program/Testi.h"

#include "island/Numeri.h"

#include <cmath>
#include <optional>

namespace ondrix {

namespace {

using MotivoRisorsa = RisorsaMancante::Motivo;

// One key and where its value goes; a number key also says whether its value
// is one the setting can take.
struct Voce {
    const char* chiave;
    void (*applica)(Form& f, Testi& t, const std::string& v);
    std::optional<MotivoRisorsa> (*controlla)(const std::string& v) = nullptr;
    // A key later versions added: files without it still load, and the text
    // in the file's language stands in.
    const char* it = nullptr;
    const char* en = nullptr;
};

// The timer's interval range (milliseconds).
constexpr double IntervalloMassimo = 65535;

std::optional<MotivoRisorsa> controllaRitardo(const std::string& v)
{
    const auto x = numeroRisorse(v);
    if (!x)
        return MotivoRisorsa::Numero;
    // A negative pause has no meaning, nor one a float cannot hold.
    if (*x < 0 || !std::isfinite(static_cast<float>(*x / 1000.0)))
        return MotivoRisorsa::FuoriLimiti;
    return std::nullopt;
}

std::optional<MotivoRisorsa> controllaIntervallo(const std::string& v)
{
    const auto x = numeroRisorse(v);
    if (!x)
        return MotivoRisorsa::Numero;
    const double ms = std::nearbyint(*x);  // a half to the even
    if (ms < 0 || ms > IntervalloMassimo)
        return MotivoRisorsa::FuoriLimiti;
    return std::nullopt;
}

#define CAPTION(chiave, controllo) \
    Voce { chiave, [](Form& f, Testi&, const std::string& v) { f.controllo.setCaption(v); } }
// A caption pair's first text is also the caption its button starts with.
#define TESTO(chiave, campo) \
    Voce { chiave, [](Form&, Testi& t, const std::string& v) { t.campo = v; } }
#define TESTO_E_CAPTION(chiave, campo, controllo)                    \
    Voce                                                               \
    {                                                                  \
        chiave, [](Form& f, Testi& t, const std::string& v) {          \
            t.campo = v;                                               \
            f.controllo.setCaption(v);                                 \
        }                                                              \
    }
#define FACOLTATIVO(chiave, campo, it, en) \
    Voce { chiave, [](Form&, Testi& t, const std::string& v) { t.campo = v; }, nullptr, it, en }
#define CAPTION_FACOLTATIVA(chiave, controllo, it, en)                                       \
    Voce                                                                                      \
    {                                                                                         \
        chiave, [](Form& f, Testi&, const std::string& v) { f.controllo.setCaption(v); }, nullptr, \
            it, en                                                                            \
    }
// What a screen reader calls a control that shows no caption.
#define NOME_FACOLTATIVO(chiave, controllo, it, en)                                   \
    Voce                                                                               \
    {                                                                                  \
        chiave,                                                                        \
            [](Form& f, Testi&, const std::string& v) { f.controllo.setAccessibleName(v); }, \
            nullptr, it, en                                                            \
    }
#define MESSAGGIO(chiave, n) \
    Voce { chiave, [](Form&, Testi& t, const std::string& v) { t.Messaggi(n) = v; } }
#define INPUT(chiave, n) \
    Voce { chiave, [](Form&, Testi& t, const std::string& v) { t.TestiInput(n) = v; } }

const Voce Voci[] = {
    Voce{"[INTESTAZIONE FORM]", [](Form& f, Testi&, const std::string& v) { f.setCaption(v); }},
    CAPTION("[PROFIBUS]", PROFIBUS),
    CAPTION("[LABEL1]", Label1),
    CAPTION("[LABEL2]", Label2),
    CAPTION("[LABEL3]", Label3),
    CAPTION("[LABEL4]", Label4),
    CAPTION("[LABEL5]", Label5),
    CAPTION("[LABEL6]", Label6),
    CAPTION("[LABEL7]", Label7),
    CAPTION("[LABEL8]", Label8),
    CAPTION("[LABEL9]", Label9),
    CAPTION("[LABEL10]", Label10),
    CAPTION("[LABEL11]", Label11),
    CAPTION("[LABEL12]", Label12),
    CAPTION("[SOFTWARE]", Software),
    CAPTION("[PIC]", PIC),
    CAPTION("[ATMEL]", ATMEL),
    CAPTION("[LblAlimentazione]", LblAlimentazione),
    CAPTION("[CmdPAddress]", CmdPAddress),
    CAPTION("[CmdReset]", CmdReset),
    CAPTION("[CmdSalva]", CmdSalva),
    CAPTION("[CmdCarica]", CmdCarica),
    CAPTION("[CmdDisableAll]", CmdDisableAll),
    TESTO_E_CAPTION("[CAPTCHIUDI]", CaptChiudi, CmdAziona),
    TESTO("[CAPTAPRI]", CaptApri),
    TESTO_E_CAPTION("[CAPTABILITA]", CaptAbilita, CmdAbilita),
    TESTO("[CAPTDISABILITA]", CaptDisabilita),
    TESTO_E_CAPTION("[CAPTCHIUDIALL]", CaptChiudiAll, CmdAll),
    TESTO("[CAPTAPRIALL]", CaptApriAll),
    TESTO_E_CAPTION("[CAPTRELAX]", CaptRelax, CmdRelax),
    TESTO("[CAPTNORELAX]", CaptNoRelax),
    CAPTION("[CmdEsci]", CmdEsci),
    // The button offers to switch the termination on until the head is drawn.
    TESTO_E_CAPTION("[CmdTerminazioneON]", CaptTerminazioneOn, CmdTerminazione),
    TESTO("[CmdTerminazioneOFF]", CaptTerminazioneOff),
    CAPTION("[CmdAddressIn]", CmdAddressIn),
    MESSAGGIO("[MSGSUCCESSO]", msg::Successo),
    MESSAGGIO("[MSGSPEGNERE]", msg::Spegnere),
    MESSAGGIO("[MSGSERIALE]", msg::Seriale),
    MESSAGGIO("[MSGCONFIGURAZIONE]", msg::Configurazione),
    MESSAGGIO("[MSGTIMEOUT1]", msg::Timeout1),
    MESSAGGIO("[MSGTIMEOUT2]", msg::Timeout2),
    MESSAGGIO("[MSGADDRESS1]", msg::Address1),
    MESSAGGIO("[MSGADDRESS2]", msg::Address2),
    MESSAGGIO("[MSGADDRESS3]", msg::Address3),
    MESSAGGIO("[MSGADDRESS4]", msg::Address4),
    MESSAGGIO("[MSGDISABLEALL]", msg::DisableAll),
    INPUT("[INPUTINDIRIZZO]", 1),
    INPUT("[INPUTINDICE]", 2),
    Voce{"[DELAY]",
         [](Form&, Testi& t, const std::string& v) {
             t.Ritardo = static_cast<float>(*numeroRisorse(v) / 1000.0);
         },
         controllaRitardo},
    Voce{"[DELAYINPUT]",
         [](Form& f, Testi&, const std::string& v) {
             f.Timer1.setInterval(static_cast<int>(std::nearbyint(*numeroRisorse(v))));
         },
         controllaIntervallo},
    FACOLTATIVO("[MSGRICERCA]", Ricerca, "RICERCA DELL'ISOLA SULLE PORTE:",
                "SEARCHING FOR THE ISLAND ON PORTS:"),
    FACOLTATIVO("[MSGPORTAPERMESSO]", PortaPermesso,
                "{PORTA}: ACCESSO NEGATO. AGGIUNGERE L'UTENTE AL GRUPPO {GRUPPO} E ACCEDERE DI "
                "NUOVO AL SISTEMA.",
                "{PORTA}: ACCESS DENIED. ADD THE USER TO THE GROUP {GRUPPO}, THEN LOG OUT AND IN "
                "AGAIN."),
    FACOLTATIVO("[MSGPORTAOCCUPATA]", PortaOccupata,
                "{PORTA}: IN USO DA UN ALTRO PROGRAMMA{CHI}. CHIUDERLO E RIPROVARE.",
                "{PORTA}: IN USE BY ANOTHER PROGRAM{CHI}. CLOSE IT AND TRY AGAIN."),
    FACOLTATIVO("[MSGPORTABLOCCATA]", PortaBloccata,
                "{PORTA}: BLOCCATA DAL FILE {FILE} DI UN PROGRAMMA CHE NON E' PIU' IN ESECUZIONE. "
                "CANCELLARE IL FILE (DA AMMINISTRATORE) E RIPROVARE.",
                "{PORTA}: LOCKED BY THE FILE {FILE} OF A PROGRAM THAT IS NO LONGER RUNNING. "
                "DELETE THE FILE (AS ADMINISTRATOR) AND TRY AGAIN."),
    FACOLTATIVO("[MSGPORTAERRORE]", PortaErrore, "{PORTA}: {MOTIVO}", "{PORTA}: {MOTIVO}"),
    FACOLTATIVO("[MSGBLOCCORIPRESO]", BloccoRipreso,
                "{PORTA}: RIPRESO IL FILE DI BLOCCO {FILE} DI UN PROGRAMMA TERMINATO.",
                "{PORTA}: TOOK OVER THE LOCK FILE {FILE} OF A PROGRAM THAT HAS ENDED."),
    FACOLTATIVO("[PORTAASSENTE]", PortaAssente, "ASSENTE", "ABSENT"),
    FACOLTATIVO("[PORTASILENZIOSA]", PortaSilenziosa, "NESSUNA RISPOSTA", "NO ANSWER"),
    FACOLTATIVO("[PORTARISPONDE]", PortaRisponde, "ISOLA TROVATA", "ISLAND FOUND"),
    FACOLTATIVO("[PORTANONPROVATA]", PortaNonProvata, "NON PROVATA", "NOT TRIED"),
    FACOLTATIVO("[FrmBaudRate]", TitoloBaudRate, "BAUD RATE", "BAUD RATE"),
    FACOLTATIVO("[PASSWORD]", TitoloPassword, "PASSWORD", "PASSWORD"),
    CAPTION_FACOLTATIVA("[CmdBootloader]", CmdBootloader, "BOOTLOADER", "BOOTLOADER"),
    CAPTION_FACOLTATIVA("[CmdAzzera]", CmdAzzera, "AZZERA COLPI", "CLEAR STROKES"),
    CAPTION_FACOLTATIVA("[CmdBaudRate]", CmdBaudRate, "OK", "OK"),
    FACOLTATIVO("[MENURAPPORTO]", rapporto.Menu, "Rapporto di servizio…", "Service report…"),
    FACOLTATIVO("[RAPPORTO]", rapporto.Titolo, "RAPPORTO DI SERVIZIO", "SERVICE REPORT"),
    FACOLTATIVO("[RAPPORTODATA]", rapporto.Data, "DATA E ORA:", "DATE AND TIME:"),
    FACOLTATIVO("[RAPPORTOFIELDBUS]", rapporto.Fieldbus, "FIELDBUS:", "FIELDBUS:"),
    FACOLTATIVO("[RAPPORTOTERMINAZIONE]", rapporto.Terminazione, "TERMINAZIONE:", "TERMINATION:"),
    FACOLTATIVO("[RAPPORTOSI]", rapporto.Si, "SÌ", "YES"),
    FACOLTATIVO("[RAPPORTONO]", rapporto.No, "NO", "NO"),
    FACOLTATIVO("[RAPPORTOTESTA]", rapporto.Testa, "TESTA", "HEAD"),
    FACOLTATIVO("[RAPPORTOINDIRIZZO]", rapporto.Indirizzo, "INDIRIZZO", "ADDRESS"),
    FACOLTATIVO("[RAPPORTOSTATO]", rapporto.Stato, "STATO", "STATE"),
    FACOLTATIVO("[RAPPORTORELAX]", rapporto.Relax, "RELAX", "RELAX"),
    FACOLTATIVO("[RAPPORTOCOLPI]", rapporto.Colpi, "COLPI", "STROKES"),
    FACOLTATIVO("[RAPPORTOGUASTE]", rapporto.Guaste, "BOBINE GUASTE:", "FAULTY COILS:"),
    FACOLTATIVO("[RAPPORTODISABILITATE]", rapporto.Disabilitate, "BOBINE DISABILITATE:", "DISABLED COILS:"),
    FACOLTATIVO("[RAPPORTOPAGINA]", rapporto.Pagina, "PAGINA {N} DI {TOT}", "PAGE {N} OF {TOT}"),
    FACOLTATIVO("[MSGRAPPORTO]", rapporto.Errore,
                "IMPOSSIBILE SCRIVERE IL RAPPORTO {FILE}: {MOTIVO}",
                "CANNOT WRITE THE REPORT {FILE}: {MOTIVO}"),
    NOME_FACOLTATIVO("[OptInput]", OptInput, "INGRESSI", "INPUTS"),
    NOME_FACOLTATIVO("[OptOutput]", OptOutput, "USCITE", "OUTPUTS"),
    NOME_FACOLTATIVO("[TxtColpi]", TxtColpi, "CONTACOLPI", "STROKE COUNTER"),
    FACOLTATIVO("[PAROLACORPO]", Luogo.Corpo, "CORPO", "BODY"),
    FACOLTATIVO("[PAROLAPOSIZIONE]", Luogo.Posizione, "POSIZIONE", "POSITION"),
    FACOLTATIVO("[PAROLAINDICE]", Luogo.Indice, "INDICE", "INDEX"),
    FACOLTATIVO("[PAROLAMODULO]", Luogo.Modulo, "MODULO", "MODULE"),
    FACOLTATIVO("[PAROLAINGRESSO]", Luogo.Ingresso, "INGRESSO", "INPUT"),
};

#undef CAPTION
#undef TESTO
#undef TESTO_E_CAPTION
#undef FACOLTATIVO
#undef CAPTION_FACOLTATIVA
#undef NOME_FACOLTATIVO
#undef MESSAGGIO
#undef INPUT

// The file's language: its [LINGUA] key, or for a file without one (made for
// an earlier version) English when its exit button says so, else Italian.
bool inglese(std::string_view testo)
{
    if (const auto lingua = LeggiChiave(testo, "[LINGUA]"))
        return trim(*lingua) == "en" || trim(*lingua) == "EN";
    const auto esci = LeggiChiave(testo, "[CmdEsci]");
    return esci && trim(*esci) == "EXIT";
}

} // namespace

std::vector<std::string_view> chiaviAvvio()
{
    std::vector<std::string_view> k;
    for (const Voce& v : Voci)
        if (!v.it)
            k.emplace_back(v.chiave);
    return k;
}

std::vector<std::string_view> chiaviFacoltative()
{
    std::vector<std::string_view> k = {"[LINGUA]"};
    for (const Voce& v : Voci)
        if (v.it)
            k.emplace_back(v.chiave);
    return k;
}

void ApplicaTesti(Form& f, Testi& t, std::string_view testo, const std::string& file)
{
    const bool en = inglese(testo);
    std::vector<std::string> valori;
    for (const Voce& voce : Voci) {
        const std::string key = voce.chiave;
        RicercaChiave r = cercaChiave(testo, key);
        if (!r.valore && voce.it) {
            valori.emplace_back(en ? voce.en : voce.it);
            continue;
        }
        if (!r.valore)
            throw RisorsaMancante(file, key, "resource key " + key + " missing in " + file,
                                  r.chiave ? MotivoRisorsa::Valore : MotivoRisorsa::Chiave);
        valori.push_back(std::move(*r.valore));
    }
    for (std::size_t k = 0; k < valori.size(); ++k)
        if (Voci[k].controlla)
            if (const auto motivo = Voci[k].controlla(valori[k]))
                throw RisorsaMancante(file, Voci[k].chiave,
                                      std::string("resource key ") + Voci[k].chiave +
                                          (*motivo == MotivoRisorsa::Numero ? " not a number" : " out of range"),
                                      *motivo, valori[k]);
    t.Inglese = en;
    for (std::size_t k = 0; k < valori.size(); ++k)
        Voci[k].applica(f, t, valori[k]);
}

void CaricaTestiOppureErrore(Host& host, Form& f, Testi& t)
{
    const std::string file = percorsoRisorse(host);
    auto testo = leggiFileRisorse(file);
    if (!testo)
        throw RisorsaMancante(file, {}, "resource file " + file + " cannot be read", MotivoRisorsa::File);
    ApplicaTesti(f, t, *testo, file);
}

void CaricaTesti(Host& host, Form& f, Testi& t)
{
    try {
        CaricaTestiOppureErrore(host, f, t);
    } catch (const RisorsaMancante& e) {
        host.messageBox(messaggioRisorse(e), TitoloErroreRisorse, MessageButtons::Ok);
        host.endProgram(StatoRisorse);
    }
}

} // namespace ondrix
