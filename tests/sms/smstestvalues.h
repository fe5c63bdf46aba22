#ifndef SMSTESTVALUES_H
#define SMSTESTVALUES_H

// What the SMS tests send and how long they wait.
namespace SmsTest {
const char *const Number = "10650001";
// For the cases that are meant to run out of time; the others get plenty.
const unsigned int ShortLimit = 1500;
const unsigned int LongLimit = 30000;
} // namespace SmsTest

#endif // SMSTESTVALUES_H
