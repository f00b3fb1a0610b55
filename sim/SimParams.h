#pragma once

#include <array>
#include <cstdint>

/// The instrument's adjustable parameters; the initialisers are its factory settings.
struct SimParams {
    uint8_t mode = 1;
    uint8_t decp = 2;
    uint8_t Beep = 1;
    uint8_t LED = 5;
    int32_t OnTime = 100; ///< ms
    float PK1 = 90.0f;
    float PK2 = 270.0f;
    std::array<float, 3> UZP{0.0f, 0.0f, 0.0f};
    std::array<float, 3> Offset{0.0f, 0.0f, 0.0f};
    std::array<float, 3> COEF{1.0f, 1.0f, 1.0f};
    std::array<float, 3> Res{4096.0f, 4096.0f, 4096.0f};
    uint8_t Q_NR = 0; ///< active sensor, the one that drives PK1 and PK2
};
