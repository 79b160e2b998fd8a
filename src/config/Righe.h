#pragma once
// The lines of a configuration file read in order, each once: the one line
// reader of the load's check and of the comparison with an island, which
// walk the file's layout (config/Struttura.h) with it. A missing line, a
// field that is not an integer, a value that differs or that no island can
// hold refuses the file (Rifiutato, with the line).

#include "config/Formato.h"
#include "config/Struttura.h"
#include "island/Numeri.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrix {

// An integer as the file writes it: an optional sign and decimal digits (any
// leading zeros), nothing else, within 16 bits. The caller trims the spaces.
inline std::optional<std::int16_t> interoFile(std::string_view s)
{
    std::size_t i = 0;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        neg = s[i] == '-';
        ++i;
    }
    if (i == s.size())
        return std::nullopt;
    long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
        v = v * 10 + (s[i] - '0');
        if (v > 32768)
            return std::nullopt;
    }
    if (neg)
        v = -v;
    if (v < -32768 || v > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(v);
}


struct Rifiutato {
    Rifiuto r;
};

// The file's lines in order, each read once: a missing line, a field that is
// not an integer, or a value that differs refuses the file.
class Righe {
public:
    explicit Righe(const std::vector<std::string>& righe) : righe_(righe) {}

    std::size_t posizione() const { return i_; }  // index of the next line
    int riga() const { return static_cast<int>(i_); }  // number of the line just read

    [[noreturn]] void rifiuta(Motivo motivo) const { rifiutaRiga(motivo, riga()); }
    [[noreturn]] static void rifiutaRiga(Motivo motivo, int riga) { throw Rifiutato{{motivo, riga}}; }

    const std::string& leggi()
    {
        if (i_ >= righe_.size())
            rifiutaRiga(Motivo::RigaMancante, static_cast<int>(righe_.size()) + 1);
        return righe_[i_++];
    }
    void salta() { leggi(); }
    // Skips the next line when, spaces trimmed, it is testo.
    void saltaSe(std::string_view testo)
    {
        if (i_ < righe_.size() && trim(righe_[i_]) == testo)
            ++i_;
    }
    std::int16_t intero(std::string_view s) const
    {
        const auto v = interoFile(s);
        if (!v)
            rifiuta(Motivo::NonNumero);
        return *v;
    }
    // A number line.
    std::int16_t numero() { return intero(trim(leggi())); }
    std::int16_t campo(const std::string& riga, int n) const { return intero(EstraiCampo(riga, n)); }
    void confronta(long valore, long modello) const
    {
        if (valore != modello)
            rifiuta(Motivo::Diverso);
    }
    void limiti(long valore, long min, long max) const
    {
        if (valore < min || valore > max)
            rifiuta(Motivo::FuoriLimiti);
    }

    const std::vector<std::string>& tutte() const { return righe_; }

private:
    const std::vector<std::string>& righe_;
    std::size_t i_ = 0;
};

// A reader's walk of the file: line 1 names the layout, every heading is
// passed over unread, and so are the lines no reader takes.
class LettoreFile : public PercorsoFile {
public:
    explicit LettoreFile(const std::vector<std::string>& righe) : righe_(righe) {}

    // Reads line 1 and walks the rest of the file with this reader.
    void leggiFile()
    {
        const auto d = disposizioneDi(righe_.leggi());
        if (!d)
            righe_.rifiuta(Motivo::Intestazione);
        disposizione(*d);
        percorriFile(*this, *d);
    }

    void intestazione(std::string_view) override { righe_.salta(); }

protected:
    // The layout line 1 named, before the walk.
    virtual void disposizione(Disposizione d) = 0;
    // The protocol name line is passed over; the baud rate's text line is not
    // even looked for (a file may end before it). True for these two.
    bool nonLetta(Voce voce)
    {
        if (voce == Voce::NomeProtocollo)
            righe_.salta();
        return voce == Voce::NomeProtocollo || voce == Voce::TestoBaudRate;
    }

    Righe righe_;
};

} // namespace ondrix
