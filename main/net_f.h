#pragma once
// The hardware addresses of the machine's network adapters, for the sign-in journal.

#include <QString>

// "00-1A-2B-3C-4D-5E, 00-1A-2B-3C-4D-5F": every adapter with a hardware address, the
// loopback excluded, in the order the system lists them; empty without adapters.
QString GetMACAdress();
