#pragma once
// The configurator's one window and everything it owns: the island model, the
// control set, the command channel, and the host it runs on. Every handler
// takes it as its first argument.

#include "channel/Channel.h"
#include "channel/Host.h"
#include "channel/SerialPort.h"
#include "frame/Form.h"
#include "island/Model.h"

#include <string>

namespace ondrix {

// Version shown in the Software label.
constexpr int VersioneMajor = 1;
constexpr int VersioneMinor = 2;
constexpr int VersioneRevision = 7;

struct Configuratore {
    Configuratore(Host& host, SerialPort& port);
    Configuratore(const Configuratore&) = delete;
    Configuratore& operator=(const Configuratore&) = delete;

    Host& host;
    SerialPort& port;  // MSComm1
    Model m;
    Form f;
    Channel ch;

    // File name the file dialog holds from its previous use (save or load).
    std::string nomeFile;

    // Shorthand for InviaComando on the one port.
    std::string invia(const std::string& comando, const std::string& atteso)
    {
        return ch.InviaComando(comando, atteso);
    }
};

} // namespace ondrix
