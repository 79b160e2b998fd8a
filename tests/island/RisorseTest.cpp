#include "program/Testi.h"
#include "island/Codifica.h"
#include "island/Risorse.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <utility>
#include <vector>

#include <unistd.h>

namespace ondrix {
namespace {

namespace fs = std::filesystem;
using test::FakeHost;
using test::ProgramEnded;

std::string leggi(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

const fs::path Sorgente = fs::path(ONDRIX_SOURCE_DIR) / "resources";

// The shipped file as (key, value) entries, header line dropped.
std::vector<std::pair<std::string, std::string>> voci(const std::string& testo)
{
    std::vector<std::string> righe;
    std::size_t pos = 0;
    while (pos < testo.size()) {
        std::size_t e = testo.find("\r\n", pos);
        righe.push_back(testo.substr(pos, e - pos));
        pos = e + 2;
    }
    std::vector<std::pair<std::string, std::string>> out;
    for (std::size_t i = 1; i + 1 < righe.size(); i += 2)
        out.emplace_back(righe[i], righe[i + 1]);
    return out;
}

std::string componi(const std::vector<std::pair<std::string, std::string>>& v)
{
    std::string s;
    for (auto& [k, val] : v)
        s += k + "\r\n" + val + "\r\n";
    return s;
}

// A program folder of its own holding the given Stringhe.txt.
class Cartella {
public:
    Cartella()
    {
        static std::atomic<int> n{0};
        dir = fs::temp_directory_path() /
              ("ondrix-risorse-" + std::to_string(::getpid()) + "-" + std::to_string(n++));
        fs::create_directories(dir);
    }
    ~Cartella() { fs::remove_all(dir); }
    void scrivi(const std::string& bytes) const
    {
        std::ofstream(dir / "Stringhe.txt", std::ios::binary) << bytes;
    }
    std::string percorso() const { return (dir / "Stringhe.txt").string(); }
    fs::path dir;
};

// ---- LeggiChiave --------------------------------------------------------

TEST(RisorseLeggiChiave, MatchesWholeLinesOnlyCaseSensitive)
{
    const std::string t = "[DELAY] \r\n10\r\n [DELAY]\r\n20\r\n[delay]\r\n30\r\n[DELAY]\r\n40\r\n";
    EXPECT_EQ(LeggiChiave(t, "[DELAY]"), "40");
    EXPECT_EQ(LeggiChiave(t, "[delay]"), "30");
    EXPECT_EQ(LeggiChiave(t, "DELAY"), std::nullopt);
    EXPECT_EQ(LeggiChiave("[DELAY]x\r\n5\r\n", "[DELAY]"), std::nullopt);
}

TEST(RisorseLeggiChiave, ValueTakenWholeAndFirstOccurrenceWins)
{
    const std::string t = "intro\r\n[A]\r\n  x [y]: \t\r\n[B]\r\n\r\n[A]\r\nsecond\r\n[C]\r\nx\ny\r\n";
    EXPECT_EQ(LeggiChiave(t, "[A]"), "  x [y]: \t");
    EXPECT_EQ(LeggiChiave(t, "[B]"), "");
    EXPECT_EQ(LeggiChiave(t, "[C]"), "x\ny");  // a line feed alone is part of the line
    // Lookups in any order give the same answers: every scan starts afresh.
    EXPECT_EQ(LeggiChiave(t, "[C]"), "x\ny");
    EXPECT_EQ(LeggiChiave(t, "[A]"), "  x [y]: \t");
}

TEST(RisorseLeggiChiave, AValueLineIsScannedLikeAnyOther)
{
    const std::string t = "[A]\r\n[B]\r\nx\r\n[B]\r\ny\r\n";
    EXPECT_EQ(LeggiChiave(t, "[A]"), "[B]");
    EXPECT_EQ(LeggiChiave(t, "[B]"), "x");
}

TEST(RisorseLeggiChiave, LineEnds)
{
    // Line feeds alone do not end lines: the whole file is one line.
    const std::string lf = "[A]\nv\n[B]\nw\n";
    EXPECT_EQ(LeggiChiave(lf, "[A]"), std::nullopt);
    EXPECT_EQ(LeggiChiave(lf, "[B]"), std::nullopt);
    // A CR alone ends a line; CR LF is one end, not two.
    EXPECT_EQ(LeggiChiave("[A]\rv\r[B]\r\nw", "[A]"), "v");
    EXPECT_EQ(LeggiChiave("[A]\rv\r[B]\r\nw", "[B]"), "w");  // last line without an end
    EXPECT_EQ(LeggiChiave("[A]\r\r\nv\r\n", "[A]"), "");   // CR, then an empty CR LF line
    EXPECT_EQ(LeggiChiave("[A]\n\r\nv\r\n", "[A]\n"), "v");
}

TEST(RisorseLeggiChiave, KeyOnTheLastLineHasNoValue)
{
    EXPECT_EQ(LeggiChiave("[A]\r\nv\r\n[B]\r\n", "[B]"), std::nullopt);
    EXPECT_EQ(LeggiChiave("[A]\r\nv\r\n[B]", "[B]"), std::nullopt);
    EXPECT_EQ(LeggiChiave("[B]\r\n\r\n", "[B]"), "");  // an empty last line is a value
    EXPECT_EQ(LeggiChiave("", "[B]"), std::nullopt);
    EXPECT_EQ(LeggiChiave("\r\n", ""), std::nullopt);
}

// ---- Encoding and numbers -----------------------------------------------

TEST(RisorseCodifica, Utf8IsKeptAndAnythingElseIsWindows1252)
{
    EXPECT_EQ(decodificaTesto("PRESSIONE 6 \xC2\xB0 \xE2\x82\xAC \xC3\xA8"),
              "PRESSIONE 6 \xC2\xB0 \xE2\x82\xAC \xC3\xA8");
    EXPECT_EQ(decodificaTesto("\xEF\xBB\xBF[A]\r\nx"), "[A]\r\nx");  // byte order mark dropped
    EXPECT_EQ(decodificaTesto("6\xB0"), "6\xC2\xB0");
    EXPECT_EQ(decodificaTesto("\x80 \x9F \x8A \xFF"), "\xE2\x82\xAC \xC5\xB8 \xC5\xA0 \xC3\xBF");
    EXPECT_EQ(decodificaTesto("\x81"), "\xC2\x81");  // unassigned: its C1 code point
    // One byte that is not UTF-8 makes the whole file Windows-1252.
    EXPECT_EQ(decodificaTesto("\xC3\xA8 \xE8"), "\xC3\x83\xC2\xA8 \xC3\xA8");
    EXPECT_EQ(decodificaTesto(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(RisorseCodifica, MalformedUtf8IsRefused)
{
    EXPECT_TRUE(utf8Valido("plain \xF0\x9F\x98\x80 \xEF\xBF\xBD"));
    for (const char* bad : {"\xC0\x80", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xF5\x80\x80\x80", "\xE2\x82", "\x80", "\xC3", "\xE2\x28\xA1"})
        EXPECT_FALSE(utf8Valido(bad)) << bad;
}

TEST(RisorseNumeri, DecimalNumbersAsWritten)
{
    EXPECT_EQ(numeroRisorse("50"), 50.0);
    EXPECT_EQ(numeroRisorse(" 12.5\t"), 12.5);
    EXPECT_EQ(numeroRisorse("-3"), -3.0);
    EXPECT_EQ(numeroRisorse("+4"), 4.0);
    EXPECT_EQ(numeroRisorse(".5"), 0.5);
    EXPECT_EQ(numeroRisorse("5."), 5.0);
    for (const char* bad : {"", " ", "abc", "5ms", "1,5", "1e3", "1.2.3", "0x10", "inf", "nan", "-",
                            ".", "5 0", "50\r", "50\n"})
        EXPECT_EQ(numeroRisorse(bad), std::nullopt) << bad;
}

// ---- Loading into the window and the model ------------------------------

struct Banco : IslandRig {
    Banco() { host.dir = cartella.dir.string(); }
    Cartella cartella;
    // Loading the texts must not touch the port at all.
    bool portaIntatta() const { return port.openAttempts().empty() && port.written().empty(); }
    std::vector<std::pair<std::string, std::string>> spedito = voci(leggi(Sorgente / "Stringhe.txt"));

    void con(const std::string& key, const std::string& valore)
    {
        for (auto& [k, v] : spedito)
            if (k == key)
                v = valore;
    }
    void senza(const std::string& key)
    {
        std::erase_if(spedito, [&](auto& e) { return e.first == key; });
    }
};

struct RisorseAvvio : ::testing::Test, Banco {};

TEST_F(RisorseAvvio, ShippedFileSetsCaptionsTextsAndTimings)
{
    cartella.scrivi(leggi(Sorgente / "Stringhe.txt"));
    c.f.CmdAziona.setCaption("x");
    c.f.CmdRelax.setCaption("x");
    CaricaTesti(c.host, c.f, c.m.testi);

    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(portaIntatta());
    EXPECT_EQ(c.f.caption(), "ONDRIX - CONFIGURATORE");
    EXPECT_EQ(c.f.Label8.caption(), "RELAX NON ATTIVO  /");
    EXPECT_EQ(c.f.Label12.caption(), "INGRESSO DISABILITATO");
    EXPECT_EQ(c.f.Software.caption(), "VERSIONE SOFTWARE:  ");
    EXPECT_EQ(c.f.CmdAddressIn.caption(), "MODIFICA INDIRIZZI");
    EXPECT_EQ(c.f.CmdEsci.caption(), "ESCI");
    const Testi& t = c.m.testi;
    EXPECT_EQ(t.CaptChiudi, "ATTIVA BOBINA");
    EXPECT_EQ(t.CaptApri, "DISATTIVA BOBINA");
    EXPECT_EQ(c.f.CmdAziona.caption(), t.CaptChiudi);
    EXPECT_EQ(c.f.CmdAbilita.caption(), "ABILITA BOBINA");
    EXPECT_EQ(c.f.CmdAll.caption(), "ATTIVA TUTTO");
    EXPECT_EQ(c.f.CmdRelax.caption(), "ATTIVA RELAX");
    EXPECT_EQ(t.CaptTerminazioneOff, "DISINSERISCI TERMINAZIONE");
    EXPECT_EQ(c.f.CmdTerminazione.caption(), "INSERISCI TERMINAZIONE");  // left to the view
    EXPECT_EQ(t.Messaggi(msg::Timeout1), "NESSUNA RISPOSTA DALL'ISOLA.");
    EXPECT_EQ(t.Messaggi(msg::Spegnere), "SPEGNERE E RIACCENDERE L'ISOLA.");
    EXPECT_FALSE(t.Messaggi(msg::DisableAll).empty());
    EXPECT_FALSE(t.TestiInput(2).empty());
    EXPECT_FLOAT_EQ(t.Ritardo, 0.05f);
    EXPECT_EQ(c.f.Timer1.interval(), 500);
}

TEST_F(RisorseAvvio, AnyOrderOfEntriesGivesTheSameResult)
{
    cartella.scrivi(componi(spedito));
    CaricaTesti(c.host, c.f, c.m.testi);
    IslandRig r2;
    Configuratore& c2 = r2.c;
    Cartella altra;
    r2.host.dir = altra.dir.string();
    std::reverse(spedito.begin(), spedito.end());
    altra.scrivi("other line\r\n" + componi(spedito));
    CaricaTesti(c2.host, c2.f, c2.m.testi);
    ASSERT_EQ(c.f.controls().size(), c2.f.controls().size());
    for (std::size_t i = 0; i < c.f.controls().size(); ++i)
        EXPECT_EQ(c.f.controls()[i]->caption(), c2.f.controls()[i]->caption());
    for (int i = 1; i <= 11; ++i)
        EXPECT_EQ(c.m.testi.Messaggi(i), c2.m.testi.Messaggi(i));
    EXPECT_EQ(c.m.testi.CaptNoRelax, c2.m.testi.CaptNoRelax);
}

TEST_F(RisorseAvvio, NumbersAndEncodingOfValues)
{
    con("[DELAY]", " 12.5");
    con("[DELAYINPUT]", "250.5");  // a half goes to the even neighbour
    con("[LABEL1]", "INGRESSI 24V \xB0");
    con("[LABEL2]", "");
    cartella.scrivi(componi(spedito));
    CaricaTesti(c.host, c.f, c.m.testi);
    EXPECT_FLOAT_EQ(c.m.testi.Ritardo, 0.0125f);
    EXPECT_EQ(c.f.Timer1.interval(), 250);
    EXPECT_EQ(c.f.Label1.caption(), "INGRESSI 24V \xC2\xB0");
    EXPECT_EQ(c.f.Label2.caption(), "");

    con("[DELAY]", "0");
    con("[DELAYINPUT]", "251.5");
    cartella.scrivi(componi(spedito));
    CaricaTesti(c.host, c.f, c.m.testi);
    EXPECT_EQ(c.m.testi.Ritardo, 0.0f);
    EXPECT_EQ(c.f.Timer1.interval(), 252);
}

TEST_F(RisorseAvvio, EveryFailureShowsOneMessageAndEndsBeforeAnyExchange)
{
    struct Caso {
        const char* nome;
        std::function<void(Banco&)> prepara;
        const char* key;  // named in the message ("" for a missing file)
    };
    const std::vector<Caso> casi = {
        {"missing file", [](Banco&) {}, ""},
        {"missing key", [](Banco& a) { a.senza("[CAPTAPRI]"); }, "[CAPTAPRI]"},
        {"blank after the bracket", [](Banco& a) {
             for (auto& e : a.spedito)
                 if (e.first == "[DELAY]")
                     e.first = "[DELAY] ";
         }, "[DELAY]"},
        {"key on the last line", [](Banco& a) {
             a.senza("[DELAYINPUT]");
             a.spedito.emplace_back("[DELAYINPUT]", "\x01");  // value dropped below
         }, "[DELAYINPUT]"},
        {"delay not a number", [](Banco& a) { a.con("[DELAY]", "50ms"); }, "[DELAY]"},
        {"interval empty", [](Banco& a) { a.con("[DELAYINPUT]", ""); }, "[DELAYINPUT]"},
        {"negative interval", [](Banco& a) { a.con("[DELAYINPUT]", "-1"); }, "[DELAYINPUT]"},
        {"interval beyond a timer", [](Banco& a) { a.con("[DELAYINPUT]", "65536"); }, "[DELAYINPUT]"},
        {"negative delay", [](Banco& a) { a.con("[DELAY]", "-5"); }, "[DELAY]"},
        {"line feeds only", [](Banco&) {}, "[INTESTAZIONE FORM]"},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        Banco a;
        caso.prepara(a);
        std::string testo = componi(a.spedito);
        if (std::string(caso.nome) == "key on the last line")
            testo.resize(testo.size() - 3);  // drop "\x01\r\n"
        if (std::string(caso.nome) == "line feeds only")
            std::erase(testo, '\r');
        if (std::string(caso.nome) != "missing file")
            a.cartella.scrivi(testo);

        try {
            CaricaTesti(a.c.host, a.c.f, a.c.m.testi);
            ADD_FAILURE() << "the program did not end";
        } catch (const ProgramEnded& e) {
            EXPECT_EQ(e.status, StatoRisorse);
        }
        ASSERT_EQ(a.host.messages.size(), 1u);
        const auto& m = a.host.messages[0];
        EXPECT_EQ(m.title, TitoloErroreRisorse);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        EXPECT_NE(m.text.find(a.cartella.percorso()), std::string::npos) << m.text;
        EXPECT_NE(m.text.find(caso.key), std::string::npos) << m.text;
        EXPECT_TRUE(a.portaIntatta());
        EXPECT_TRUE(a.c.m.testi.CaptChiudi.empty());  // nothing half applied
    }
}

TEST_F(RisorseAvvio, ThrowingVariantNamesFileKeyAndReason)
{
    using M = RisorsaMancante::Motivo;
    auto motivo = [&](const std::string& testo) {
        try {
            ApplicaTesti(c.f, c.m.testi, testo, "X/Stringhe.txt");
        } catch (const RisorsaMancante& e) {
            EXPECT_EQ(e.file, "X/Stringhe.txt");
            return std::pair(e.motivo, e.key);
        }
        return std::pair(M::File, std::string("none"));
    };
    const std::string base = componi(spedito);
    EXPECT_EQ(motivo(base), std::pair(M::File, std::string("none")));
    const std::size_t fine = base.find("[DELAYINPUT]\r\n") + 12;
    EXPECT_EQ(motivo(base.substr(0, fine)), std::pair(M::Valore, std::string("[DELAYINPUT]")));
    EXPECT_EQ(motivo(base.substr(0, fine - 1)), std::pair(M::Chiave, std::string("[DELAYINPUT]")));
    con("[DELAY]", "x");
    EXPECT_EQ(motivo(componi(spedito)), std::pair(M::Numero, std::string("[DELAY]")));
    senza("[LABEL5]");
    EXPECT_EQ(motivo(componi(spedito)), std::pair(M::Chiave, std::string("[LABEL5]")));

    IslandRig r2;
    r2.host.dir = (cartella.dir / "nowhere").string();
    try {
        CaricaTestiOppureErrore(r2.host, r2.c.f, r2.c.m.testi);
        ADD_FAILURE();
    } catch (const RisorsaMancante& e) {
        EXPECT_EQ(e.motivo, M::File);
        EXPECT_EQ(e.file, (cartella.dir / "nowhere" / "Stringhe.txt").string());
    }
}

TEST(RisorseFinestra, NumbersWithZeroAsFallback)
{
    Cartella cartella;
    FakeHost host;
    host.dir = cartella.dir.string();
    EXPECT_EQ(LeggiChiaveFinestra(host, "[DIMENSIONESCHERMOX]"), 0);  // no file

    cartella.scrivi(leggi(Sorgente / "Stringhe.txt"));
    EXPECT_EQ(LeggiChiaveFinestra(host, "[DIMENSIONESCHERMOX]"), 800);
    EXPECT_EQ(LeggiChiaveFinestra(host, "[DIMENSIONESCHERMOY]"), 600);
    EXPECT_EQ(LeggiChiaveFinestra(host, "[INIZIALEX]"), 0);

    cartella.scrivi("[INIZIALEX]\r\n 12.6 \r\n[INIZIALEY]\r\nabc\r\n[DIMENSIONESCHERMOX]\r\n99999\r\n"
                    "[DIMENSIONESCHERMOY]");
    EXPECT_EQ(LeggiChiaveFinestra(host, "[INIZIALEX]"), 13);
    EXPECT_EQ(LeggiChiaveFinestra(host, "[INIZIALEY]"), 0);
    EXPECT_EQ(LeggiChiaveFinestra(host, "[DIMENSIONESCHERMOX]"), 0);  // beyond 16 bits
    EXPECT_EQ(LeggiChiaveFinestra(host, "[DIMENSIONESCHERMOY]"), 0);  // last line
}

// ---- The shipped files --------------------------------------------------

TEST(RisorseFileSpediti, EveryKeyWithCrLfInWindows1252)
{
    std::vector<std::string> attese;
    for (std::string_view k : chiaviAvvio())
        attese.emplace_back(k);
    attese.insert(attese.end(), ChiaviFinestra.begin(), ChiaviFinestra.end());
    for (std::string_view k : chiaviFacoltative())
        attese.emplace_back(k);
    std::vector<std::string> chiaviIt;
    for (const char* nome : {"Stringhe.txt", "Stringhe-en.txt"}) {
        SCOPED_TRACE(nome);
        const std::string testo = leggi(Sorgente / nome);
        ASSERT_FALSE(testo.empty());
        for (std::size_t i = 0; i < testo.size(); ++i) {
            const auto ch = static_cast<unsigned char>(testo[i]);
            // A byte the code page leaves unassigned would show as a control.
            ASSERT_TRUE(ch != 0x81 && ch != 0x8D && ch != 0x8F && ch != 0x90 && ch != 0x9D) << "at " << i;
            if (ch == '\r') {
                ASSERT_EQ(testo[i + 1], '\n') << "at " << i;
            }
            if (ch == '\n') {
                ASSERT_EQ(testo[i - 1], '\r') << "at " << i;
            }
        }
        ASSERT_EQ(testo.substr(testo.size() - 2), "\r\n");
        // Read as Windows-1252, not taken for UTF-8.
        ASSERT_EQ(decodificaTesto(testo), cp1252AUtf8(testo));
        std::vector<std::string> chiavi;
        for (auto& [k, v] : voci(testo)) {
            chiavi.push_back(k);
            EXPECT_FALSE(v.empty()) << k;
            EXPECT_EQ(LeggiChiave(testo, k), v) << k;  // no value shadows a key
        }
        EXPECT_EQ(chiavi, attese);
        // Values appended after the colon need the colon.
        for (const char* k : {"[PROFIBUS]", "[SOFTWARE]", "[PIC]", "[ATMEL]"})
            EXPECT_NE(LeggiChiave(testo, k)->find(':'), std::string::npos) << k;
        // Toggle buttons tell their direction by the caption: the pairs differ.
        for (auto [a, b] : {std::pair("[CAPTCHIUDI]", "[CAPTAPRI]"), {"[CAPTABILITA]", "[CAPTDISABILITA]"},
                            {"[CAPTCHIUDIALL]", "[CAPTAPRIALL]"}, {"[CAPTRELAX]", "[CAPTNORELAX]"},
                            {"[CmdTerminazioneON]", "[CmdTerminazioneOFF]"}})
            EXPECT_NE(LeggiChiave(testo, a), LeggiChiave(testo, b)) << a;
        // Button captions fit two lines of a 1695-twip button (about 15 bold characters).
        for (const char* k : {"[CmdPAddress]", "[CmdReset]", "[CmdSalva]", "[CmdCarica]",
                              "[CmdDisableAll]", "[CAPTCHIUDI]", "[CAPTAPRI]", "[CAPTABILITA]",
                              "[CAPTDISABILITA]", "[CAPTCHIUDIALL]", "[CAPTAPRIALL]", "[CAPTRELAX]",
                              "[CAPTNORELAX]", "[CmdEsci]", "[CmdTerminazioneON]",
                              "[CmdTerminazioneOFF]", "[CmdAddressIn]"}) {
            std::istringstream parole(*LeggiChiave(testo, k));
            int righe = 1, riga = 0;
            for (std::string w; parole >> w;) {
                EXPECT_LE(w.size(), 15u) << k;
                if (riga > 0 && riga + 1 + static_cast<int>(w.size()) > 15)
                    ++righe, riga = 0;
                riga += (riga ? 1 : 0) + static_cast<int>(w.size());
            }
            EXPECT_LE(righe, 2) << k;
        }
    }
    // The build puts the default file beside the programs.
    EXPECT_EQ(leggi(fs::path(ONDRIX_BIN_DIR) / "Stringhe.txt"), leggi(Sorgente / "Stringhe.txt"));
}

TEST(RisorseFileSpediti, TheEnglishFileLoadsAndNoCaptionStaysItalian)
{
    Cartella cartella;
    cartella.scrivi(leggi(Sorgente / "Stringhe-en.txt"));
    IslandRig r;
    r.host.dir = cartella.dir.string();
    Configuratore& c = r.c;
    CaricaTesti(c.host, c.f, c.m.testi);
    EXPECT_TRUE(r.host.messages.empty());
    EXPECT_EQ(c.f.CmdAziona.caption(), "ENERGISE COIL");
    EXPECT_EQ(c.m.testi.Messaggi(msg::Timeout1), "NO ANSWER FROM THE ISLAND.");
    // Also the captions the head's drawing or no key set before.
    EXPECT_EQ(c.f.CmdTerminazione.caption(), "INSERT TERMINATION");
    EXPECT_EQ(c.f.CmdAzzera.caption(), "CLEAR STROKES");
}

// Files made for earlier versions lack the newer keys: they load, and the
// built-in texts of their language stand in.
TEST(RisorseFileSpediti, FilesWithoutTheNewerKeysLoadInTheirLanguage)
{
    for (const char* nome : {"Stringhe.txt", "Stringhe-en.txt"}) {
        SCOPED_TRACE(nome);
        auto v = voci(leggi(Sorgente / nome));
        for (std::string_view k : chiaviFacoltative())
            std::erase_if(v, [&](auto& e) { return e.first == k; });
        Cartella cartella;
        cartella.scrivi(componi(v));
        IslandRig r;
        r.host.dir = cartella.dir.string();
        CaricaTesti(r.host, r.c.f, r.c.m.testi);
        EXPECT_TRUE(r.host.messages.empty());
        const bool en = std::string(nome) == "Stringhe-en.txt";
        EXPECT_EQ(r.c.m.testi.Ricerca, en ? "SEARCHING FOR THE ISLAND ON PORTS:" : "RICERCA DELL'ISOLA SULLE PORTE:");
        EXPECT_EQ(r.c.f.CmdAzzera.caption(), en ? "CLEAR STROKES" : "AZZERA COLPI");
    }
}

} // namespace
} // namespace ondrix
