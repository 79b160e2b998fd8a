#include "program/Testi.h"

#include <cmath>
#include <optional>

namespace ondrix {

namespace {

using M = RisorsaMancante::Motivo;

// One key and where its value goes; a number key also says whether its value
// is one the setting can take.
struct Voce {
    const char* chiave;
    void (*applica)(Form& f, Testi& t, const std::string& v);
    std::optional<M> (*controlla)(const std::string& v) = nullptr;
};

// The timer's interval range (milliseconds).
constexpr double IntervalloMassimo = 65535;

std::optional<M> controllaRitardo(const std::string& v)
{
    const auto x = numeroRisorse(v);
    if (!x)
        return M::Numero;
    // A negative pause has no meaning, nor one a float cannot hold.
    if (*x < 0 || !std::isfinite(static_cast<float>(*x / 1000.0)))
        return M::FuoriLimiti;
    return std::nullopt;
}

std::optional<M> controllaIntervallo(const std::string& v)
{
    const auto x = numeroRisorse(v);
    if (!x)
        return M::Numero;
    const double ms = std::nearbyint(*x);  // a half to the even
    if (ms < 0 || ms > IntervalloMassimo)
        return M::FuoriLimiti;
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
    TESTO("[CmdTerminazioneON]", CaptTerminazioneOn),
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
};

#undef CAPTION
#undef TESTO
#undef TESTO_E_CAPTION
#undef MESSAGGIO
#undef INPUT

} // namespace

std::vector<std::string_view> chiaviAvvio()
{
    std::vector<std::string_view> k;
    for (const Voce& v : Voci)
        k.emplace_back(v.chiave);
    return k;
}

void ApplicaTesti(Form& f, Testi& t, std::string_view testo, const std::string& file)
{
    std::vector<std::string> valori;
    for (const Voce& voce : Voci) {
        const std::string key = voce.chiave;
        RicercaChiave r = cercaChiave(testo, key);
        if (!r.valore)
            throw RisorsaMancante(file, key, "resource key " + key + " missing in " + file,
                                  r.chiave ? M::Valore : M::Chiave);
        valori.push_back(std::move(*r.valore));
    }
    for (std::size_t k = 0; k < valori.size(); ++k)
        if (Voci[k].controlla)
            if (const auto motivo = Voci[k].controlla(valori[k]))
                throw RisorsaMancante(file, Voci[k].chiave,
                                      std::string("resource key ") + Voci[k].chiave +
                                          (*motivo == M::Numero ? " not a number" : " out of range"),
                                      *motivo, valori[k]);
    for (std::size_t k = 0; k < valori.size(); ++k)
        Voci[k].applica(f, t, valori[k]);
}

void CaricaTestiOppureErrore(Host& host, Form& f, Testi& t)
{
    const std::string file = percorsoRisorse(host);
    auto testo = leggiFileRisorse(file);
    if (!testo)
        throw RisorsaMancante(file, {}, "resource file " + file + " cannot be read", M::File);
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
