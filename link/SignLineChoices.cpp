#include "link/SignLineChoices.h"

SerialParity ParityChoice(const std::string& parity)
{
    if (parity == "none")
        return parityNone;
    if (parity == "odd")
        return parityOdd;
    return parityEven;
}

SerialStopBits StopBitsChoice(int stopBits)
{
    return stopBits == 2 ? stopTwo : stopOne;
}
