#pragma once
// The fieldbus settings: slave address, input module addresses, bus
// termination (PROFIBUS) and baud rate (CANopen, DeviceNet).

#include <functional>

namespace ondrix {

struct Sessione;

void CmdPAddress_Click(Sessione& c);
// Timer1_Timer: the polling tick, run once at the end to show the inputs again.
void CmdAddressIn_Click(Sessione& c, const std::function<void()>& Timer1_Timer);
void CmdTerminazione_Click(Sessione& c);
void CmdBaudRate_Click(Sessione& c);

} // namespace ondrix
