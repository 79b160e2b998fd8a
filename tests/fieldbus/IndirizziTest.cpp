#include "program/Eventi.h"
#include "program/Gestori.h"
#include "support/ReplyPort.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using Lines = std::vector<std::string>;

// ---- Slave address ----------------------------------------------------------

struct SlaveAddress : ::testing::Test {
    test::ScriptedRig rig;
    Configuratore& c = rig.c;
    void SetUp() override
    {
        c.f.PROFIBUS.setCaption("INDIRIZZO SLAVE: 5");
        rig.port.replies = {"SET SLAVE ADDRESS\r\nNUM:"};
    }
    // Answers the boxes in turn; returns the lines the island received.
    Lines rispondi(int protocollo, std::initializer_list<std::string> risposte)
    {
        c.m.Protocollo = static_cast<std::int16_t>(protocollo);
        rig.host.inputAnswers.assign(risposte.begin(), risposte.end());
        eventoClick(c, c.f.CmdPAddress);
        EXPECT_TRUE(rig.host.inputAnswers.empty());
        return rig.taken();
    }
};

TEST_F(SlaveAddress, RangesPerProtocol)
{
    struct Caso {
        int protocollo;
        std::initializer_list<std::string> risposte;
        const char* inviato;
    };
    const Caso casi[] = {
        {1, {"2", "127", "3"}, "3"},
        {1, {"126"}, "126"},
        {2, {"0", "1"}, "1"},
        {2, {"128", "127"}, "127"},
        {3, {"64", "63"}, "63"},
        {3, {"1"}, "1"},
    };
    for (const Caso& k : casi) {
        SCOPED_TRACE(k.inviato);
        rig.port.replies = {"NUM:"};
        rig.host.inputs.clear();
        EXPECT_EQ(rispondi(k.protocollo, k.risposte), (Lines{"SET SLAVE ADDRESS", k.inviato}));
        EXPECT_EQ(rig.host.inputs.size(), k.risposte.size());
        EXPECT_EQ(c.f.PROFIBUS.caption(), std::string("INDIRIZZO SLAVE: ") + k.inviato);
    }
    EXPECT_EQ(rig.host.inputs.front().prompt, "NUOVO INDIRIZZO:");
    EXPECT_EQ(rig.host.inputs.front().title, "ONDRIX - CONFIGURATORE - PROFIBUS");
}

TEST_F(SlaveAddress, CancelResendsTheCurrentAddress)
{
    EXPECT_EQ(rispondi(1, {""}), (Lines{"SET SLAVE ADDRESS", "5"}));
    EXPECT_EQ(c.f.PROFIBUS.caption(), "INDIRIZZO SLAVE: 5");
}

TEST_F(SlaveAddress, TheAcceptedNumberIsSentAndShownNeverTheTypedText)
{
    EXPECT_EQ(rispondi(1, {"12"}), (Lines{"SET SLAVE ADDRESS", "12"}));
    EXPECT_EQ(c.f.PROFIBUS.caption(), "INDIRIZZO SLAVE: 12");

    rig.port.replies = {"NUM:"};
    EXPECT_EQ(rispondi(1, {"  14 "}), (Lines{"SET SLAVE ADDRESS", "14"}));
    EXPECT_EQ(c.f.PROFIBUS.caption(), "INDIRIZZO SLAVE: 14");

    rig.port.replies = {"NUM:"};
    EXPECT_EQ(rispondi(1, {"abc", "12abc"}), (Lines{"SET SLAVE ADDRESS", "12"}));
    EXPECT_EQ(c.f.PROFIBUS.caption(), "INDIRIZZO SLAVE: 12");

    rig.port.replies = {"NUM:"};
    EXPECT_EQ(rispondi(2, {"1e2"}), (Lines{"SET SLAVE ADDRESS", "100"}));
    rig.port.replies = {"NUM:"};
    EXPECT_EQ(rispondi(3, {"7.4"}), (Lines{"SET SLAVE ADDRESS", "7"}));
}

// ---- Input addressing ---------------------------------------------------------

struct InputAddressing : ::testing::Test {
    test::ScriptedRig rig;
    Configuratore& c = rig.c;
    std::vector<bool> timerDuranteScambi;

    void SetUp() override
    {
        rig.mostraIngressi();
        rig.port.onLine = [this](const std::string&) { timerDuranteScambi.push_back(c.f.Timer1.enabled()); };
    }
    // Replies of one "ENABLE DIGITAL" dialogue per module, after "DISABLE DIGITAL".
    void dialoghi(int moduli)
    {
        rig.port.replies = {"OK"};
        for (int k = 0; k < moduli; ++k)
            for (const char* r : {"OLD ADDR", "NEW ADDR", "OK"})
                rig.port.replies.push_back(r);
        rig.port.replies.push_back(test::rispostaIngressi({}));
    }
    Lines clic(std::initializer_list<std::string> risposte)
    {
        rig.host.inputAnswers.assign(risposte.begin(), risposte.end());
        eventoClick(c, c.f.CmdAddressIn);
        EXPECT_TRUE(rig.host.inputAnswers.empty());
        return rig.taken();
    }
};

TEST_F(InputAddressing, OneModuleAsksOnceAndMovesIt)
{
    rig.moduli({16});
    dialoghi(1);
    EXPECT_EQ(clic({"2"}), (Lines{"DISABLE DIGITAL", "ENABLE DIGITAL", "0", "2", "GET DIGITAL INPUT"}));
    ASSERT_EQ(rig.host.inputs.size(), 1u);
    EXPECT_EQ(rig.host.inputs[0].prompt, "INDIRIZZO MODULO 1");
    EXPECT_EQ(rig.host.inputs[0].title, c.f.caption());
    EXPECT_EQ(c.m.Moduli(1).Indirizzo, 2);
    // Timer off for every exchange, busy pointer around them, timer on after.
    EXPECT_EQ(timerDuranteScambi, std::vector<bool>(5, false));
    EXPECT_EQ(rig.host.busyHistory, (std::vector<bool>{true, false}));
    EXPECT_TRUE(c.f.Timer1.enabled());
    EXPECT_TRUE(c.f.Frame1.visible());  // the tick ran and redrew
}

TEST_F(InputAddressing, TwoModulesSecondBoxRefusesTheFirstAddress)
{
    rig.moduli({16, 8});
    dialoghi(2);
    EXPECT_EQ(clic({"5", "1", "1", "3", "0"}),
              (Lines{"DISABLE DIGITAL", "ENABLE DIGITAL", "0", "1", "ENABLE DIGITAL", "1", "0",
                     "GET DIGITAL INPUT"}));
    ASSERT_EQ(rig.host.inputs.size(), 5u);
    EXPECT_EQ(rig.host.inputs[1].prompt, "INDIRIZZO MODULO 1");
    EXPECT_EQ(rig.host.inputs[2].prompt, "MODULO 2: 0 O 2");
    EXPECT_EQ(rig.host.inputs[4].prompt, "MODULO 2: 0 O 2");
    EXPECT_EQ(c.m.Moduli(1).Indirizzo, 1);
    EXPECT_EQ(c.m.Moduli(2).Indirizzo, 0);
}

TEST_F(InputAddressing, ThreeModulesTheThirdGetsTheAddressLeftOver)
{
    rig.moduli({16, 8, 8});
    dialoghi(3);
    EXPECT_EQ(clic({"2", "0"}),
              (Lines{"DISABLE DIGITAL", "ENABLE DIGITAL", "0", "2", "ENABLE DIGITAL", "1", "0",
                     "ENABLE DIGITAL", "2", "1", "GET DIGITAL INPUT"}));
    EXPECT_EQ(rig.host.inputs[1].prompt, "MODULO 2: 0 O 1");
    EXPECT_EQ(c.m.Moduli(3).Indirizzo, 1);
}

TEST_F(InputAddressing, CancellingEitherBoxSendsNothingAndRestartsTheTimer)
{
    rig.moduli({16, 8});
    EXPECT_TRUE(clic({""}).empty());
    EXPECT_TRUE(c.f.Timer1.enabled());
    EXPECT_TRUE(clic({"1", "7", ""}).empty());
    EXPECT_TRUE(c.f.Timer1.enabled());
    EXPECT_TRUE(rig.host.busyHistory.empty());
    EXPECT_EQ(c.m.Moduli(1).Indirizzo, 0);
}

TEST_F(InputAddressing, ASecondAnswerRoundingToTheFirstAddressIsRefused)
{
    rig.moduli({16, 8});
    dialoghi(2);
    const Lines l = clic({"0", "0.4", "1"});
    EXPECT_EQ(rig.host.inputs.size(), 3u);
    EXPECT_EQ(c.m.Moduli(2).Indirizzo, 1);
    EXPECT_EQ(l.at(6), "1");
}

TEST_F(InputAddressing, ModulesAfterTheThirdKeepTheirAddresses)
{
    rig.moduli({8, 8, 8, 8, 8});
    c.m.Moduli(4).Indirizzo = 7;
    dialoghi(3);
    const Lines l = clic({"1", "2"});
    EXPECT_EQ(std::count(l.begin(), l.end(), "ENABLE DIGITAL"), 3);
    EXPECT_EQ(c.m.Moduli(3).Indirizzo, 0);
    EXPECT_EQ(c.m.Moduli(4).Indirizzo, 7);
    EXPECT_EQ(c.m.Moduli(5).Indirizzo, 4);
}

} // namespace
} // namespace ondrix
