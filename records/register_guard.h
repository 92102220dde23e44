// What a save of a register trusts: the header as it is on file inside the save's lock, and
// only when its counts agree with the files they count. A header that was lost, zeroed or
// lowered would make the next save write over registrations or payments that exist.
#pragma once

#include "records/catalogue.h"
#include "records/registration_files.h"

namespace vellano::records {

// The last record of the channel's file that holds anything but blanks and NULs (0 when
// none), as the open save sees it.
long lastUsedRecord(Channel& channel);

// Chooses the register's stems, opens channels 3, 4 and 12 on its files when needed and
// reads the header. A registration or payment count lower than the last record in use of
// its file refuses the save: error 75 naming the header file, with the reason and the check
// program to run for the error box.
RegisterHeader headerForSave(Catalogue& catalogue, RegisterKind kind);

// Where registration `current` goes when saved with the header `now` read inside the save,
// the screen having read `opened`: one it chose as new goes after the last one on file (error
// 63 when the register is full), and a protocol number it took as proposed becomes the next
// one of its sezionale as it stands now. An existing one stays where it is.
long placeRegistration(const RegisterHeader& opened, const RegisterHeader& now, long current,
                       Registration& registration);

// The same for a payment: a new one goes after the last payment on file (error 63 when the
// count's field is full).
long placePayment(const RegisterHeader& opened, const RegisterHeader& now, long current);

// Registration n as stored, or an empty one when n is past the count: what saving over it
// takes out of the balances.
Registration registrationOnFile(Catalogue& catalogue, const RegisterHeader& header, long n);
Payment paymentOnFile(Catalogue& catalogue, const RegisterHeader& header, long n);

}  // namespace vellano::records
