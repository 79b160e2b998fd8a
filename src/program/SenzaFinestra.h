#pragma once
// The modes without a window (--info, --save, --load, --verify, --report): the same
// program object, start-up, exchanges and checks as the window, on a host
// that has no window: messages go to standard error in the resource file's
// words, progress too (one line per step, unless --quiet), and a question is
// answered yes only with --yes.

#include "channel/CoreHost.h"
#include "channel/SerialPort.h"
#include "program/RigaComando.h"
#include "report/Comando.h"

#include <cstdio>
#include <string>
#include <vector>

namespace ondrix {

struct Model;
class Form;

class HostRiga : public CoreHost {
public:
    explicit HostRiga(bool si) : si_(si) {}
    // The text alone on standard error; a question answered yes only with --yes.
    MessageAnswer messageBox(const std::string& text, const std::string& title,
                             MessageButtons buttons) override;

private:
    bool si_;
};

// Runs the mode of o against the island (the ports porte are searched; empty:
// 1..16). Returns the exit status; a time-out, a lost port or no island end
// the program on the way (uscita::Isola). --report draws its file with
// scrivi, once service mode has been left: a line lost leaves no file.
int eseguiSenzaFinestra(const Opzioni& o, HostRiga& host, SerialPort& port,
                        const std::vector<int>& porte, const ScriviRapporto& scrivi = {});

// What --info prints: the island as the start-up read it.
std::string descrizioneIsola(const Model& m, const Form& f, const SerialPort& port);
std::string jsonIsola(const Model& m, const Form& f, const SerialPort& port);

} // namespace ondrix
