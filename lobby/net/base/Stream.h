// Byte streams of the base library.
#pragma once

class InputStream {
public:
    virtual ~InputStream() {}
    // Reads at most size bytes; size becomes the count read (0 at the end).
    virtual void Read(void* buffer, unsigned& size) = 0;
};

class OutputStream {
public:
    virtual ~OutputStream() {}
    virtual unsigned Write(const void* bytes, unsigned length) = 0;
    virtual void Flush() = 0;
};

class IOStream : public InputStream, public OutputStream {};
