// The diagnosis reply: cutting it into records, and the two methods that
// bring it into the Diagnosi table (on the simulated default island, with
// replies it would never give put in its mouth).

#include "island/Diagnosi.h"
#include "island/Risposte.h"

#include "support/IslandRig.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace ondrix {
namespace {

const std::string Testa = "GET DIAGNOSI\r\n";  // 14 characters

std::string record(const std::string& indice, const std::string& resto)
{
    return indice + "\t" + resto + "\r\n";
}

std::string diagnosiCompleta(char lettera = 'P')
{
    std::string r = Testa;
    for (int i = 0; i < 32; ++i)
        r += record(std::to_string(i), std::string(1, lettera));
    return r + "OK\r\n";
}

TEST(RecordDiagnosi, ThirtyTwoRecordsInSlotOrderAndTheRestIsLeft)
{
    std::string r = Testa;
    for (int i = 0; i < 32; ++i)
        r += record(std::to_string(31 - i), i % 2 ? "C guasta" : "P");
    r += "OK\r\n";
    const LetturaDiagnosi l = recordDiagnosi(r);
    ASSERT_TRUE(l.completa);
    ASSERT_EQ(l.record.size(), 32u);
    EXPECT_EQ(l.record[0].indice, 31);
    EXPECT_EQ(l.record[0].lettera, 'P');
    // Only the first character after the TAB counts.
    EXPECT_EQ(l.record[1].lettera, 'C');
    EXPECT_EQ(l.record[31].indice, 0);
    EXPECT_EQ(r.substr(l.letti), "\nOK\r\n");
}

TEST(RecordDiagnosi, ShortOrBrokenRepliesKeepTheRecordsReadSoFar)
{
    EXPECT_TRUE(recordDiagnosi("").record.empty());
    EXPECT_TRUE(recordDiagnosi("GET DIAG").record.empty());
    EXPECT_TRUE(recordDiagnosi(Testa + "OK\r\n").record.empty());

    const std::string due = Testa + record("0", "P") + record("1", "C");
    // Ends after two records.
    EXPECT_EQ(recordDiagnosi(due + "OK\r\n").record.size(), 2u);
    // Third record cut before its CR, or right after its TAB.
    EXPECT_EQ(recordDiagnosi(due + "2\tP").record.size(), 2u);
    EXPECT_EQ(recordDiagnosi(due + "2\t").record.size(), 2u);
    // Index that is not a number, empty, or beyond 16 bits.
    for (const char* bad : {"X2", "", "99999", "2 3"}) {
        const LetturaDiagnosi l = recordDiagnosi(due + record(bad, "P") + record("3", "P"));
        EXPECT_EQ(l.record.size(), 2u) << bad;
        EXPECT_FALSE(l.completa);
    }
    // Blanks and the previous record's LF around the index are fine.
    EXPECT_EQ(recordDiagnosi(Testa + " 7 \tA\r\n").record.at(0).indice, 7);
}

TEST(RecordDiagnosi, AnyTextNeverThrows)
{
    std::mt19937 rng(4);
    const std::string alfabeto = "0123456789\t\r\n -APCIOK";
    for (int n = 0; n < 3000; ++n) {
        std::string s = n % 3 ? diagnosiCompleta().substr(0, rng() % 200) : std::string();
        const std::size_t extra = rng() % 80;
        for (std::size_t i = 0; i < extra; ++i)
            s.insert(s.empty() ? 0 : rng() % s.size(), 1, alfabeto[rng() % alfabeto.size()]);
        EXPECT_NO_THROW({
            const LetturaDiagnosi l = recordDiagnosi(s);
            EXPECT_LE(l.record.size(), 32u);
            EXPECT_LE(l.letti, s.size());
            (void)letteraDiagnosi(s, static_cast<int>(rng() % 40) - 2);
        });
    }
}

TEST(LetteraDiagnosi, MatchesTheWholeIndexOfARecordOnly)
{
    // 11 and 21 come before 1: a plain search for "1\t" would stop at them.
    const std::string r = Testa + record("11", "C") + record("21", "I") + record("1", "P") +
                          record("-1", "A") + "OK\r\n";
    EXPECT_EQ(letteraDiagnosi(r, 1), 'P');
    EXPECT_EQ(letteraDiagnosi(r, 11), 'C');
    EXPECT_EQ(letteraDiagnosi(r, 21), 'I');
    EXPECT_EQ(letteraDiagnosi(r, -1), 'A');
    EXPECT_FALSE(letteraDiagnosi(r, 2));
    // A heading that happens to hold "2\t" is not a record.
    EXPECT_FALSE(letteraDiagnosi("XXXXXXXXXXX2\tC" + record("5", "P"), 2));
}

TEST(ApplicaLettera, LetterTable)
{
    RigaDiagnosi r{7, 5, 1};
    EXPECT_TRUE(applicaLettera(r, 'P'));
    EXPECT_EQ(r.Stato, 2);
    EXPECT_TRUE(applicaLettera(r, 'C'));
    EXPECT_EQ(r.Stato, 3);
    EXPECT_TRUE(applicaLettera(r, 'I'));
    EXPECT_EQ(r.Stato, 4);
    EXPECT_FALSE(applicaLettera(r, 'X'));
    EXPECT_FALSE(applicaLettera(r, '\r'));
    EXPECT_EQ(r.Indice, 7);
    EXPECT_EQ(r.Stato, 4);
    EXPECT_TRUE(applicaLettera(r, 'A'));
    EXPECT_EQ(r.Stato, 1);
    EXPECT_EQ(r.Indice, -1);
    EXPECT_EQ(r.Relax, 1);  // never touched here
}

// The whole reply, slot i holding index i and letter P unless changed.
std::string diagnosi(std::map<int, std::pair<std::string, std::string>> cambi = {})
{
    std::string r = Testa;
    for (int i = 0; i < 32; ++i) {
        auto c = cambi.find(i);
        r += c == cambi.end() ? record(std::to_string(i), "P") : record(c->second.first, c->second.second);
    }
    return r + "OK\r\n";
}

struct Banco : IslandRig {
    Banco() { ready(); }
    Model& m = c.m;
    void risposta(const std::string& r) { island.overrideReply("GET DIAGNOSI", r); }
};

TEST(DiagnosiIsola, RewritesIndexAndStateOfEveryRow)
{
    Banco b;
    // Fifth record: index 7, absent; sixth 12 interrupted; seventh an unknown letter.
    b.risposta(diagnosi({{4, {"7", "A"}}, {5, {"12", "I"}}, {6, {"6", "Z"}}, {31, {"31", "A"}}}));
    b.m.Diagnosi(7).Stato = stato::Attivata;
    b.m.Diagnosi(3).Relax = 1;
    DiagnosiIsola(b.c.ch, b.m);
    EXPECT_EQ(b.taken(), (std::vector<std::string>{"GET DIAGNOSI"}));
    EXPECT_EQ(b.m.Diagnosi(5).Indice, -1);
    EXPECT_EQ(b.m.Diagnosi(5).Stato, stato::Assente);
    EXPECT_EQ(b.m.Diagnosi(6).Indice, 12);
    EXPECT_EQ(b.m.Diagnosi(6).Stato, stato::GuastaI);
    EXPECT_EQ(b.m.Diagnosi(7).Indice, 6);
    EXPECT_EQ(b.m.Diagnosi(7).Stato, stato::Attivata);  // state kept
    EXPECT_EQ(b.m.Diagnosi(3).Relax, 1);
    EXPECT_EQ(b.m.Diagnosi(32).Indice, -1);
    EXPECT_EQ(b.m.Diagnosi(33).Indice, 255);
}

TEST(DiagnosiIsola, BrokenReplyKeepsTheRowsReadAndLeavesTheOthers)
{
    Banco b;
    b.risposta(Testa + record("9", "C") + record("8", "I") + record("x", "P") + "OK\r\n");
    const RigaDiagnosi terza = b.m.Diagnosi(3);
    DiagnosiIsola(b.c.ch, b.m);
    EXPECT_EQ(b.m.Diagnosi(1).Indice, 9);
    EXPECT_EQ(b.m.Diagnosi(1).Stato, stato::GuastaC);
    EXPECT_EQ(b.m.Diagnosi(2).Indice, 8);
    EXPECT_EQ(b.m.Diagnosi(3).Indice, terza.Indice);
    EXPECT_EQ(b.m.Diagnosi(3).Stato, terza.Stato);

    b.risposta("OK\r\n");
    EXPECT_NO_THROW(DiagnosiIsola(b.c.ch, b.m));
    EXPECT_EQ(b.m.Diagnosi(1).Indice, 9);
    EXPECT_EQ(b.m.Diagnosi(1).Stato, stato::GuastaC);
}

TEST(DiagnosiBobina, UpdatesOnlyTheGivenRowFromTheRecordOfItsIndex)
{
    Banco b;
    b.risposta(Testa + record("11", "C") + record("21", "I") + record("1", "P") + record("3", "A") + "OK\r\n");
    b.m.Diagnosi(2).Stato = stato::Attivata;
    const Model prima = b.m;
    DiagnosiBobina(b.c.ch, b.m, 2, 1);
    EXPECT_EQ(b.m.Diagnosi(2).Stato, stato::Presente);  // the record of 1, not of 11 or 21
    EXPECT_EQ(b.m.Diagnosi(2).Indice, 1);

    DiagnosiBobina(b.c.ch, b.m, 4, 3);  // "A": gone from the index look-ups
    EXPECT_EQ(b.m.Diagnosi(4).Indice, -1);
    EXPECT_EQ(b.m.Diagnosi(4).Stato, stato::Assente);
    for (int r = 1; r <= 33; ++r) {
        if (r == 2 || r == 4)
            continue;
        EXPECT_EQ(b.m.Diagnosi(r).Stato, prima.Diagnosi(r).Stato) << r;
        EXPECT_EQ(b.m.Diagnosi(r).Indice, prima.Diagnosi(r).Indice) << r;
    }
}

TEST(DiagnosiBobina, NoRecordOrNoRowLeavesTheTableAlone)
{
    Banco b;
    b.risposta(Testa + record("11", "C") + record("2", "A") + "OK\r\n");
    b.m.Diagnosi(2).Stato = stato::Attivata;
    DiagnosiBobina(b.c.ch, b.m, 2, 1);  // no record of 1: not the first record's letter
    EXPECT_EQ(b.m.Diagnosi(2).Stato, stato::Attivata);
    EXPECT_EQ(b.m.Diagnosi(2).Indice, 1);

    // The sentinel keeps its values whatever the record says.
    DiagnosiBobina(b.c.ch, b.m, 33, 2);
    EXPECT_EQ(b.m.Diagnosi(33).Indice, 255);
    EXPECT_EQ(b.m.Diagnosi(33).Stato, stato::Assente);
    DiagnosiBobina(b.c.ch, b.m, 0, 2);
    DiagnosiBobina(b.c.ch, b.m, 99, 2);
    EXPECT_EQ(b.taken().size(), 4u);  // each call still asks the island

    b.risposta("OK\r\n");
    EXPECT_NO_THROW(DiagnosiBobina(b.c.ch, b.m, 3, 2));
    EXPECT_EQ(b.m.Diagnosi(3).Stato, stato::Presente);
}

} // namespace
} // namespace ondrix
