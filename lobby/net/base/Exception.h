// Exceptions of the socket, thread and file layer: thrown by value, caught by
// reference, and never let out of a thread's run loop.
#pragma once

#include <string>

class Exception {
public:
    explicit Exception(const std::string& message) : message_(message) {}
    virtual ~Exception() {}
    virtual const std::string& Message() const { return message_; }

private:
    std::string message_;
};

// A Winsock failure. Built from an error number, the message is that number in
// decimal; built from a message alone, the error number is the one given (0 when
// none is).
class SocketException : public Exception {
public:
    explicit SocketException(int error);
    explicit SocketException(const std::string& message, int error = 0) : Exception(message), error_(error) {}
    int GetError() const { return error_; }

private:
    int error_;
};

// A Windows file failure; the message is the system's text for the error.
class FileException : public Exception {
public:
    explicit FileException(const std::string& message) : Exception(message) {}
};

class ThreadException : public Exception {
public:
    explicit ThreadException(const std::string& message) : Exception(message) {}
};
