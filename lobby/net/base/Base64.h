// Base64 decoding of the texts the servers send encoded (notices, reasons,
// targets). Shared by the lobby and the card-game client.
#pragma once

#include <string>

// Decodes length bytes of text into out (replacing its content) and adds the
// number of bytes produced to *counter (when counter is not null; it is never
// reset). CR and LF between groups of four are skipped. Characters outside the
// Base64 alphabet count as 0. A "=" in the third or fourth place ends its
// group; the next group starts after the four places. A last group cut short
// by the end of the text decodes the places it has, as if padded.
void Base64Decode(const char* text, int length, unsigned* counter, std::string& out);
