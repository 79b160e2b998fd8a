#pragma once
// Hand-filled islands for the configuration file tests, and a port that
// records every line and answers each with all the prompts the load expects.

#include "channel/SerialPort.h"
#include "island/Model.h"

#include <functional>
#include <string>
#include <vector>

namespace ondrix::test {

inline constexpr const char* TermOn = "TERMINAZIONE ON";
inline constexpr const char* TermOff = "TERMINAZIONE OFF";
inline constexpr const char* MsgSuccesso = "OPERAZIONE COMPLETATA";
inline constexpr const char* MsgConfigurazione = "CONFIGURAZIONE NON COMPATIBILE";

inline void testiDiProva(Model& m)
{
    m.testi.CaptTerminazioneOn = TermOn;
    m.testi.CaptTerminazioneOff = TermOff;
    m.testi.Messaggi(1) = MsgSuccesso;
    m.testi.Messaggi(4) = MsgConfigurazione;
}

// The model as a start-up leaves it before the island's lists are read.
inline void modelloVuoto(Model& m)
{
    testiDiProva(m);
    for (int i = 1; i <= 32; ++i)
        m.Diagnosi(i) = {-1, 1, 0};
    m.Diagnosi(33) = {255, 1, 0};
    m.Moduli.fill({-1, -1, -1, -1, -1});
}

// PROFIBUS island: head of 4 stations with 4 coils, one expansion of 2
// stations with 3 coils (the second disabled), two input modules.
inline void isolaProfibus(Model& m)
{
    modelloVuoto(m);
    m.Protocollo = 1;
    m.RevAtmel = 46;
    m.NumModuli = 2;
    m.Moduli(1) = {0, 16, 16, 22, 0};
    m.Moduli(2) = {1, 8, 8, 23, 1};
    m.NumEspansioni = 2;
    m.Espansioni(1) = {0, 4, 4, 41};
    m.Espansioni(2) = {1, 2, 3, 41};
    m.TotaleBobine = 7;
    const ConfBobina bobine[] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 1}, {170, 2}, {9, 3}};
    for (int r = 1; r <= 7; ++r)
        m.ConfBobine(r) = bobine[r - 1];
    for (int i = 1; i <= 5; ++i)
        m.Diagnosi(i) = {static_cast<std::int16_t>(i - 1), 2, 0};
    m.Diagnosi(2).Relax = 1;  // coil 1
    m.Diagnosi(5).Relax = 1;  // coil 4
}

// DEVICENET island with the head only (2 stations, 3 coils), no input modules.
inline void isolaDevicenet(Model& m)
{
    modelloVuoto(m);
    m.Protocollo = 3;
    m.RevAtmel = 46;
    m.NumModuli = 0;
    m.NumEspansioni = 1;
    m.Espansioni(1) = {0, 2, 3, 41};
    m.TotaleBobine = 3;
    m.ConfBobine(1) = {0, 1};
    m.ConfBobine(2) = {1, 2};
    m.ConfBobine(3) = {2, 4};
    for (int i = 1; i <= 3; ++i)
        m.Diagnosi(i) = {static_cast<std::int16_t>(i - 1), 2, 0};
    m.Diagnosi(3).Relax = 1;
    const char* testi[] = {"125 Kbit/s", "250 Kbit/s", "500 Kbit/s", "", "", "", ""};
    for (int i = 1; i <= 7; ++i)
        m.TestiBaudRate(i) = testi[i - 1];
    m.IndiceBaudRate = 1;
}

// Records each line written and answers it with every prompt of the load, so
// each exchange finds its expected text at once.
class PortaRegistrata : public SerialPort {
public:
    void setPortNumber(int n) override { numero_ = n; }
    int portNumber() const override { return numero_; }
    bool open() override { return aperta_ = true; }
    void close() override { aperta_ = false; }
    bool isOpen() const override { return aperta_; }
    void write(const std::string& data) override
    {
        parziale_ += data;
        std::size_t p;
        while ((p = parziale_.find("\r\n")) != std::string::npos) {
            righe.push_back(parziale_.substr(0, p));
            parziale_.erase(0, p + 2);
            if (alRicevere)
                alRicevere(righe.back());
            uscita_ += "INDICE: ESP: POS: NUM: OLD ADDR NEW ADDR ERROR OK\r\n";
        }
    }
    std::int64_t outputCount() override { return 0; }
    std::int64_t inputCount() override { return static_cast<std::int64_t>(uscita_.size()); }
    std::string readAll() override
    {
        std::string s;
        s.swap(uscita_);
        return s;
    }

    std::vector<std::string> righe;
    // Called with each line as it arrives.
    std::function<void(const std::string&)> alRicevere;

private:
    int numero_ = 1;
    bool aperta_ = true;
    std::string parziale_, uscita_;
};

} // namespace ondrix::test
