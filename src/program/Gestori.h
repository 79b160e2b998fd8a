#pragma once
// Every handler of the window, named as the system names them; each lives in
// the folder of its subsystem. The event routing calls them.

#include "commands/Comandi.h"
#include "config/Configurazione.h"
#include "diagnostics/Polling.h"
#include "fieldbus/Fieldbus.h"
#include "frame/Layout.h"
#include "frame/Uscita.h"
#include "program/Avvio.h"
#include "view/Vista.h"
