#pragma once

#include <cstdint>

/// The instrument's adjustable parameters: `Set` holds what the user wants,
/// `Stan` what the instrument last reported.
struct DeviceParams {
    float PK1 = 0;
    float PK2 = 0;
    uint32_t Q_NR = 0;
    float UZP[3] = {};
    float Offset[3] = {};
    float COEF[3] = {};
    int32_t LED = 0;
    int32_t decp = 0;
    int32_t Beep = 0;
    int32_t mode = 0;
    int32_t OnTime = 0;
    float Res[3] = {};
};

/// One flag per parameter: its value has arrived since the last connect.
struct ParamFlags {
    bool PK1 = false;
    bool PK2 = false;
    bool UZP[3] = {};
    bool Offset[3] = {};
    bool COEF[3] = {};
    bool LED = false;
    bool decp = false;
    bool Beep = false;
    bool mode = false;
    bool OnTime = false;
    bool Res[3] = {};
    bool presenceKnown = false; ///< a sensor reply has been handled
};
