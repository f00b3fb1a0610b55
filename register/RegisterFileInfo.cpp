#include "RegisterFileInfo.h"

#include "RegisterStore.h"

std::array<bool, 3> writtenChannels(const RegisterFileInfo &info, const RegisterStore &store)
{
    std::array<bool, 3> written{};
    for (int k = 0; k < 3; ++k)
        written[size_t(k)] = info.channelShown[size_t(k)] || store.channelHasReading(k);
    return written;
}
