#pragma once
// The fieldbus settings: slave address, input module addresses, bus
// termination (PROFIBUS) and baud rate (CANopen, DeviceNet).

namespace ondrix {

struct Sessione;

void CmdPAddress_Click(Sessione& c);
void CmdAddressIn_Click(Sessione& c);
void CmdTerminazione_Click(Sessione& c);
void CmdBaudRate_Click(Sessione& c);

} // namespace ondrix
