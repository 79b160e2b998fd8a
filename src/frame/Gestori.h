#pragma once
// The window's event handlers, one function each, named as the system names
// them. Each lives in the folder of its subsystem; Eventi.cpp routes the
// window's events to them.

namespace ondrix {

struct Configuratore;

// island/: start-up (also the activation of the window).
void Form_Activate(Configuratore& c);

// view/: drawing and selection.
void DisegnaEspansione(Configuratore& c, int Indice);
void Combo1_Click(Configuratore& c);
void DisegnaInput(Configuratore& c, int Indice);
void OptInput_Click(Configuratore& c);
void OptOutput_Click(Configuratore& c);
void Combo2_Click(Configuratore& c);
void Bobina_Click(Configuratore& c, int i);

// diagnostics/
void DiagnosiIsola(Configuratore& c);
void DiagnosiBobina(Configuratore& c, int Posizione, int Indirizzo);
void Timer1_Timer(Configuratore& c);

// commands/
void CmdAziona_Click(Configuratore& c);
void CmdAll_Click(Configuratore& c);
void CmdAbilita_Click(Configuratore& c);
void CmdDisableAll_Click(Configuratore& c);
void CmdRelax_Click(Configuratore& c);
void CmdAzzera_Click(Configuratore& c);
void CmdReset_Click(Configuratore& c);

// fieldbus/
void CmdPAddress_Click(Configuratore& c);
void CmdAddressIn_Click(Configuratore& c);
void CmdTerminazione_Click(Configuratore& c);
void CmdBaudRate_Click(Configuratore& c);

// config/
void CmdSalva_Click(Configuratore& c);
void CmdCarica_Click(Configuratore& c);

// frame/: layout, scrolling, administrator mode, exit.
void Form_Load(Configuratore& c);
void Form_Resize(Configuratore& c);
void ScorriOrizzontale(Configuratore& c);
void ScorriVerticale(Configuratore& c);
void Image1_DblClick(Configuratore& c);
void CmdBootloader_Click(Configuratore& c);
void CmdEsci_Click(Configuratore& c);
[[noreturn]] void Form_Unload(Configuratore& c);

} // namespace ondrix
