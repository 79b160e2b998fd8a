#pragma once
// The service report on A4 portrait pages through Qt's PDF writer: shapes
// and text as vectors, the fonts embedded. Page 1 holds the header, the
// island in one picture with its legend, the input modules and the notes;
// the table of coils follows on as many pages as it needs. Needs a
// QGuiApplication (the offscreen platform will do).

#include "report/Rapporto.h"

#include <optional>
#include <string>
#include <vector>

namespace ondrix {

// Where something was drawn: its page (0 the first) and its box, in
// millimetres from the page's top left corner.
struct Posto {
    int pagina = -1;  // -1: not drawn
    double x = 0, y = 0, larghezza = 0, altezza = 0;
};

struct Impaginazione {
    int pagine = 0;
    // Each coil's square, by body and coil as in Rapporto::corpi.
    std::vector<std::vector<Posto>> bobine;
    Posto connettoreFieldbus;  // the head's fieldbus connector (its circle's box)
};

// The report's PDF file, whole. With impaginazione, tells where the coils
// were drawn.
std::string pdfRapporto(const Rapporto& r, Impaginazione* impaginazione = nullptr);

// Writes the report to file with the configuration save's safe replace: the
// old file whole or the new one, nothing left behind, never a device or a
// pipe replaced. Empty on success, else the reason.
std::optional<std::string> scriviPdf(const Rapporto& r, const std::string& file,
                                     Impaginazione* impaginazione = nullptr);

} // namespace ondrix
