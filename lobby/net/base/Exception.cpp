#include "lobby/net/base/Exception.h"

SocketException::SocketException(int error) : Exception(std::to_string(error)), error_(error) {}
