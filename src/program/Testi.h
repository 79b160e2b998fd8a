#pragma once
// The text resources applied to the window and the program's texts: each key
// of "Stringhe.txt" with where its value goes, in one table.

#include "channel/Host.h"
#include "form/Form.h"
#include "island/Model.h"
#include "island/Risorse.h"

#include <string>
#include <string_view>
#include <vector>

namespace ondrix {

// The keys the start-up needs, in their order, and the ones it reads when
// they are there (a built-in text in the file's language stands in).
std::vector<std::string_view> chiaviAvvio();
std::vector<std::string_view> chiaviFacoltative();

// Reads every key from the decoded text and applies it to the window and the
// texts (captions, caption texts, messages, prompts, Ritardo, the interval of
// Timer1). Throws RisorsaMancante (naming file and key) before changing
// anything when a key, a value or a number is missing.
void ApplicaTesti(Form& f, Testi& t, std::string_view testo, const std::string& file);

// ApplicaTesti on the program's "Stringhe.txt"; throws RisorsaMancante.
void CaricaTestiOppureErrore(Host& host, Form& f, Testi& t);

// Start-up step 2: the texts applied. On a missing file or key it shows one
// built-in message naming the file and the key and ends the program with
// StatoRisorse.
void CaricaTesti(Host& host, Form& f, Testi& t);

} // namespace ondrix
