// COM for the calling thread, single-threaded apartment, for as long as the object lives. Every COM
// object of the thread must be released before it ends.
#pragma once

class TComInitialization {
public:
    // Raises when the thread already runs COM in another apartment model.
    TComInitialization();
    TComInitialization(const TComInitialization&) = delete;
    TComInitialization& operator=(const TComInitialization&) = delete;
    ~TComInitialization();
};
