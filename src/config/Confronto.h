#pragma once
// A configuration file read whole, without an island to hold it against, and
// the differences between two of them: an island and a file are compared by
// writing the island's file and reading both the same way.

#include "config/Formato.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace ondrix {

struct ContenutoFile {
    bool conModuli = false;  // the current layout, with the input modules
    int numModuli = 0;
    struct Modulo {
        int tipo = 0, firmware = 0, indirizzo = 0;
    };
    std::array<Modulo, MaxModuli> moduli{};
    int protocollo = 0;
    std::string indirizzo;  // the slave address as written
    int totaleBobine = 0;
    struct Corpo {
        int posti = 0, bobine = 0;
    };
    std::vector<Corpo> corpi;
    struct Bobina {
        int indice = 0, posizione = 0, relax = 0;
    };
    std::array<Bobina, MaxBobine> bobine{};
    std::optional<bool> terminazione;  // PROFIBUS
    std::optional<int> baudRate;       // CANopen, DeviceNet
};

// Reads the lines of a configuration file of either layout; nothing (and
// why in *rifiuto) when they are not one: a missing line, a value that is not
// a number where one is needed, more than 16 bodies.
std::optional<ContenutoFile> leggiContenutoFile(const std::vector<std::string>& righe,
                                                Rifiuto* rifiuto = nullptr);

// One line per difference of what the island holds from what the file says:
// protocol, slave address, coil and body counts, each body's stations and
// coils, each coil row's index, position and relax flag, the input modules'
// count, types and addresses, termination or baud rate.
std::vector<std::string> differenze(const ContenutoFile& isola, const ContenutoFile& file);

} // namespace ondrix
