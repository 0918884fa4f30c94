#include "devices/DeviceTable.h"

#include <stdexcept>

namespace zavuv::devices {

namespace {

// clang-format off
constexpr DeviceInfo kDevices[DeviceTable::kCount] = {
    // 0
    {.family = DeviceFamily::ATtiny, .name = "ATtiny13",
     .pageSize = 16, .flashSize = 1024, .eepromSize = 64,
     .signature = {0x1E, 0x90, 0x07}, .altSignature = {0x1E, 0x90, 0x07},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 4, .lockFuseLayout = 23,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz9p6And4p8,
     .factoryFuses = {.low = 0x6A, .high = 0xFF, .extended = 0xFF}},
    // 1
    {.family = DeviceFamily::ATtiny, .name = "ATtiny2313",
     .pageSize = 16, .flashSize = 2048, .eepromSize = 128,
     .signature = {0x1E, 0x91, 0x0A}, .altSignature = {0x1E, 0x91, 0x0A},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 0, .lockFuseLayout = 39,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8And4,
     .factoryFuses = {.low = 0x64, .high = 0xDF, .extended = 0xFF}},
    // 2
    {.family = DeviceFamily::ATtiny, .name = "ATtiny24",
     .pageSize = 16, .flashSize = 2048, .eepromSize = 128,
     .signature = {0x1E, 0x91, 0x0B}, .altSignature = {0x1E, 0x91, 0x0B},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 0, .lockFuseLayout = 40,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xFF}},
    // 3
    {.family = DeviceFamily::ATtiny, .name = "ATtiny25",
     .pageSize = 16, .flashSize = 2048, .eepromSize = 128,
     .signature = {0x1E, 0x91, 0x08}, .altSignature = {0x1E, 0x91, 0x08},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 0, .lockFuseLayout = 41,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xFF}},
    // 4
    {.family = DeviceFamily::ATtiny, .name = "ATtiny26",
     .pageSize = 16, .flashSize = 2048, .eepromSize = 128,
     .signature = {0x1E, 0x91, 0x09}, .altSignature = {0x1E, 0x91, 0x09},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 0, .lockFuseLayout = 14,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz1To8,
     .factoryFuses = {.low = 0xE1, .high = 0xF7, .extended = 0xFF},
     .eraseSequence = EraseSequence::TwiceWithByteLoad},
    // 5
    {.family = DeviceFamily::ATtiny, .name = "ATtiny44",
     .pageSize = 32, .flashSize = 4096, .eepromSize = 256,
     .signature = {0x1E, 0x92, 0x07}, .altSignature = {0x1E, 0x92, 0x07},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 0, .lockFuseLayout = 40,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xFF}},
    // 6
    {.family = DeviceFamily::ATtiny, .name = "ATtiny45",
     .pageSize = 32, .flashSize = 4096, .eepromSize = 256,
     .signature = {0x1E, 0x92, 0x06}, .altSignature = {0x1E, 0x92, 0x06},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 0, .lockFuseLayout = 41,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xFF}},
    // 7
    {.family = DeviceFamily::ATtiny, .name = "ATtiny84",
     .pageSize = 32, .flashSize = 8192, .eepromSize = 512,
     .signature = {0x1E, 0x93, 0x0C}, .altSignature = {0x1E, 0x93, 0x0C},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 0, .lockFuseLayout = 40,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xFF}},
    // 8
    {.family = DeviceFamily::ATtiny, .name = "ATtiny85",
     .pageSize = 32, .flashSize = 8192, .eepromSize = 512,
     .signature = {0x1E, 0x93, 0x0B}, .altSignature = {0x1E, 0x93, 0x0B},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 0, .lockFuseLayout = 41,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xFF}},
    // 9
    {.family = DeviceFamily::At90, .name = "AT90PWM1",
     .pageSize = 32, .flashSize = 8192, .eepromSize = 512,
     .signature = {0x1E, 0x93, 0x83}, .altSignature = {0x1E, 0x93, 0x83},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 43,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz1To8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xF9}},
    // 10
    {.family = DeviceFamily::At90, .name = "AT90PWM2/3",
     .pageSize = 32, .flashSize = 8192, .eepromSize = 512,
     .signature = {0x1E, 0x93, 0x81}, .altSignature = {0x1E, 0x93, 0x81},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 44,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xF9}},
    // 11
    {.family = DeviceFamily::ATmega, .name = "ATmega48",
     .pageSize = 32, .flashSize = 4096, .eepromSize = 256,
     .signature = {0x1E, 0x92, 0x05}, .altSignature = {0x1E, 0x92, 0x05},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 42,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xFF}},
    // 12
    {.family = DeviceFamily::ATmega, .name = "ATmega8",
     .pageSize = 32, .flashSize = 8192, .eepromSize = 512,
     .signature = {0x1E, 0x93, 0x07}, .altSignature = {0x1E, 0x93, 0x07},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 12,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz1To8,
     .factoryFuses = {.low = 0xE1, .high = 0xD9, .extended = 0xFF}},
    // 13
    {.family = DeviceFamily::ATmega, .name = "ATmega88",
     .pageSize = 32, .flashSize = 8192, .eepromSize = 512,
     .signature = {0x1E, 0x93, 0x0A}, .altSignature = {0x1E, 0x93, 0x0A},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 26,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xF9}},
    // 14
    {.family = DeviceFamily::ATmega, .name = "ATmega8515",
     .pageSize = 32, .flashSize = 8192, .eepromSize = 512,
     .signature = {0x1E, 0x93, 0x06}, .altSignature = {0x1E, 0x93, 0x06},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 17,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz1To8,
     .factoryFuses = {.low = 0xE1, .high = 0xD9, .extended = 0xFF}},
    // 15
    {.family = DeviceFamily::ATmega, .name = "ATmega8535",
     .pageSize = 32, .flashSize = 8192, .eepromSize = 512,
     .signature = {0x1E, 0x93, 0x08}, .altSignature = {0x1E, 0x93, 0x08},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 18,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz1To8,
     .factoryFuses = {.low = 0xE1, .high = 0xD9, .extended = 0xFF}},
    // 16
    {.family = DeviceFamily::ATmega, .name = "ATmega16",
     .pageSize = 64, .flashSize = 16384, .eepromSize = 512,
     .signature = {0x1E, 0x94, 0x03}, .altSignature = {0x1E, 0x94, 0x03},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 13,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz1To8,
     .factoryFuses = {.low = 0xE1, .high = 0x99, .extended = 0xFF}},
    // 17
    {.family = DeviceFamily::ATmega, .name = "ATmega162",
     .pageSize = 64, .flashSize = 16384, .eepromSize = 512,
     .signature = {0x1E, 0x94, 0x04}, .altSignature = {0x1E, 0x94, 0x04},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 45,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 18
    {.family = DeviceFamily::ATmega, .name = "ATmega165",
     .pageSize = 64, .flashSize = 16384, .eepromSize = 512,
     .signature = {0x1E, 0x94, 0x07}, .altSignature = {0x1E, 0x94, 0x07},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 46,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 19
    {.family = DeviceFamily::ATmega, .name = "ATmega168",
     .pageSize = 64, .flashSize = 16384, .eepromSize = 512,
     .signature = {0x1E, 0x94, 0x06}, .altSignature = {0x1E, 0x94, 0x06},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 26,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xF9}},
    // 20
    {.family = DeviceFamily::ATmega, .name = "ATmega169",
     .pageSize = 64, .flashSize = 16384, .eepromSize = 512,
     .signature = {0x1E, 0x94, 0x05}, .altSignature = {0x1E, 0x94, 0x05},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 46,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 21
    {.family = DeviceFamily::ATmega, .name = "ATmega32",
     .pageSize = 64, .flashSize = 32768, .eepromSize = 1024,
     .signature = {0x1E, 0x95, 0x02}, .altSignature = {0x1E, 0x95, 0x02},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0x96, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 16,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz1To8,
     .factoryFuses = {.low = 0xE1, .high = 0x99, .extended = 0xFF}},
    // 22
    {.family = DeviceFamily::ATmega, .name = "ATmega325/3250",
     .pageSize = 64, .flashSize = 32768, .eepromSize = 1024,
     .signature = {0x1E, 0x95, 0x05}, .altSignature = {0x1E, 0x95, 0x06},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0x96, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 30,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 23
    {.family = DeviceFamily::ATmega, .name = "ATmega329/3290",
     .pageSize = 64, .flashSize = 32768, .eepromSize = 1024,
     .signature = {0x1E, 0x95, 0x03}, .altSignature = {0x1E, 0x95, 0x04},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0x96, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 33,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 24
    {.family = DeviceFamily::ATmega, .name = "ATmega64",
     .pageSize = 128, .flashSize = 65536, .eepromSize = 2048,
     .signature = {0x1E, 0x96, 0x02}, .altSignature = {0x1E, 0x96, 0x02},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 20,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz1To8,
     .factoryFuses = {.low = 0xE1, .high = 0x99, .extended = 0xFD}},
    // 25
    {.family = DeviceFamily::ATmega, .name = "ATmega640",
     .pageSize = 128, .flashSize = 65536, .eepromSize = 4096,
     .signature = {0x1E, 0x96, 0x08}, .altSignature = {0x1E, 0x96, 0x08},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 47,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 26
    {.family = DeviceFamily::ATmega, .name = "ATmega644",
     .pageSize = 128, .flashSize = 65536, .eepromSize = 2048,
     .signature = {0x1E, 0x96, 0x09}, .altSignature = {0x1E, 0x96, 0x09},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 32,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 27
    {.family = DeviceFamily::ATmega, .name = "ATmega645/6450",
     .pageSize = 128, .flashSize = 65536, .eepromSize = 2048,
     .signature = {0x1E, 0x96, 0x05}, .altSignature = {0x1E, 0x96, 0x06},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 30,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 28
    {.family = DeviceFamily::ATmega, .name = "ATmega649/6490",
     .pageSize = 128, .flashSize = 65536, .eepromSize = 2048,
     .signature = {0x1E, 0x96, 0x03}, .altSignature = {0x1E, 0x96, 0x04},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0x96, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 33,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 29
    {.family = DeviceFamily::ATmega, .name = "ATmega128",
     .pageSize = 128, .flashSize = 131072, .eepromSize = 4096,
     .signature = {0x1E, 0x97, 0x02}, .altSignature = {0x1E, 0x97, 0x02},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 10,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz1To8,
     .factoryFuses = {.low = 0xE1, .high = 0x99, .extended = 0xFD}},
    // 30
    {.family = DeviceFamily::ATmega, .name = "ATmega128x",
     .pageSize = 128, .flashSize = 131072, .eepromSize = 4096,
     .signature = {0x1E, 0x97, 0x03}, .altSignature = {0x1E, 0x97, 0x04},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 35,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 31
    {.family = DeviceFamily::ATmega, .name = "ATmega256x",
     .pageSize = 128, .flashSize = 262144, .eepromSize = 4096,
     .signature = {0x1E, 0x98, 0x01}, .altSignature = {0x1E, 0x98, 0x02},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 35,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 32
    {.family = DeviceFamily::At89S, .name = "AT89S2051",
     .pageSize = 0, .flashSize = 2048, .eepromSize = 0,
     .signature = {0x1E, 0x23, 0xFF}, .altSignature = {0x1E, 0x23, 0xFF},
     .algorithm = ProgAlgorithm::At89S51,
     .flashWriteDelayCode = 0x50, .flashReadDelayCode = 0x50,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0x50,
     .pageWriteDelayMs = 15, .boardDeviceCode = 3, .lockFuseLayout = 28,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 33
    {.family = DeviceFamily::At89S, .name = "AT89S4051",
     .pageSize = 0, .flashSize = 4096, .eepromSize = 0,
     .signature = {0x1E, 0x43, 0xFF}, .altSignature = {0x1E, 0x43, 0xFF},
     .algorithm = ProgAlgorithm::At89S51,
     .flashWriteDelayCode = 0x50, .flashReadDelayCode = 0x50,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0x50,
     .pageWriteDelayMs = 15, .boardDeviceCode = 3, .lockFuseLayout = 28,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 34
    {.family = DeviceFamily::At89S, .name = "AT89S51",
     .pageSize = 0, .flashSize = 4096, .eepromSize = 0,
     .signature = {0x1E, 0x51, 0x06}, .altSignature = {0x1E, 0x51, 0x06},
     .algorithm = ProgAlgorithm::At89S51,
     .flashWriteDelayCode = 0x50, .flashReadDelayCode = 0x50,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0x50,
     .pageWriteDelayMs = 15, .boardDeviceCode = 1, .lockFuseLayout = 1,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 35
    {.family = DeviceFamily::At89S, .name = "AT89S52",
     .pageSize = 0, .flashSize = 8192, .eepromSize = 0,
     .signature = {0x1E, 0x52, 0x06}, .altSignature = {0x1E, 0x52, 0x06},
     .algorithm = ProgAlgorithm::At89S51,
     .flashWriteDelayCode = 0x50, .flashReadDelayCode = 0x50,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0x50,
     .pageWriteDelayMs = 15, .boardDeviceCode = 1, .lockFuseLayout = 1,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 36
    {.family = DeviceFamily::At89S, .name = "AT89S8252",
     .pageSize = 0, .flashSize = 8192, .eepromSize = 2048,
     .signature = {0x00, 0xFF, 0x00}, .altSignature = {0x00, 0xFF, 0x00},
     .algorithm = ProgAlgorithm::At89S8252,
     .flashWriteDelayCode = 0x50, .flashReadDelayCode = 0x50,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0x50,
     .pageWriteDelayMs = 15, .boardDeviceCode = 1, .lockFuseLayout = 27,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 37
    {.family = DeviceFamily::At89S, .name = "AT89S8253",
     .pageSize = 0, .flashSize = 12288, .eepromSize = 2048,
     .signature = {0x1E, 0x73, 0xFF}, .altSignature = {0x1E, 0x73, 0xFF},
     .algorithm = ProgAlgorithm::At89S8253,
     .flashWriteDelayCode = 0x50, .flashReadDelayCode = 0x50,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0x50,
     .pageWriteDelayMs = 15, .boardDeviceCode = 12, .lockFuseLayout = 37,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None,
     .factoryFuses = {.low = 0xFA, .high = 0xFF, .extended = 0xFF}},
    // 38
    {.family = DeviceFamily::At89S, .name = "AT89S53",
     .pageSize = 0, .flashSize = 12288, .eepromSize = 0,
     .signature = {0x00, 0xFF, 0x00}, .altSignature = {0x00, 0xFF, 0x00},
     .algorithm = ProgAlgorithm::At89S53,
     .flashWriteDelayCode = 0x50, .flashReadDelayCode = 0x50,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0x50,
     .pageWriteDelayMs = 15, .boardDeviceCode = 3, .lockFuseLayout = 28,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 39
    {.family = DeviceFamily::At86, .name = "AT86RF401",
     .pageSize = 0, .flashSize = 2048, .eepromSize = 128,
     .signature = {0x1E, 0x91, 0x81}, .altSignature = {0x1E, 0x91, 0x81},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 0, .lockFuseLayout = 22,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 40
    {.family = DeviceFamily::At25, .name = "AT25256",
     .pageSize = 64, .flashSize = 0, .eepromSize = 32768,
     .signature = {0x00, 0x00, 0x00}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::At25,
     .flashWriteDelayCode = 0x00, .flashReadDelayCode = 0x00,
     .eepromWriteDelayCode = 0x00, .eepromReadDelayCode = 0x00,
     .pageWriteDelayMs = 0, .boardDeviceCode = 0, .lockFuseLayout = 0,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 41
    {.family = DeviceFamily::At25, .name = "AT25HP256",
     .pageSize = 128, .flashSize = 0, .eepromSize = 32768,
     .signature = {0x00, 0x00, 0x00}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::At25,
     .flashWriteDelayCode = 0x00, .flashReadDelayCode = 0x00,
     .eepromWriteDelayCode = 0x00, .eepromReadDelayCode = 0x00,
     .pageWriteDelayMs = 0, .boardDeviceCode = 0, .lockFuseLayout = 0,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 42
    {.family = DeviceFamily::At25, .name = "AT25HP512",
     .pageSize = 128, .flashSize = 0, .eepromSize = 65536,
     .signature = {0x00, 0x00, 0x00}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::At25,
     .flashWriteDelayCode = 0x00, .flashReadDelayCode = 0x00,
     .eepromWriteDelayCode = 0x00, .eepromReadDelayCode = 0x00,
     .pageWriteDelayMs = 0, .boardDeviceCode = 0, .lockFuseLayout = 0,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 43
    {.family = DeviceFamily::At90, .name = "AT90CAN32",
     .pageSize = 128, .flashSize = 32768, .eepromSize = 1024,
     .signature = {0x1E, 0x95, 0x81}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 29,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 44
    {.family = DeviceFamily::At90, .name = "AT90CAN64",
     .pageSize = 128, .flashSize = 65536, .eepromSize = 2048,
     .signature = {0x1E, 0x96, 0x81}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 29,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 45
    {.family = DeviceFamily::At90, .name = "AT90CAN128",
     .pageSize = 128, .flashSize = 131072, .eepromSize = 4096,
     .signature = {0x1E, 0x97, 0x81}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 29,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 46
    {.family = DeviceFamily::At90, .name = "AT90USB1286",
     .pageSize = 128, .flashSize = 131072, .eepromSize = 4096,
     .signature = {0x1E, 0x97, 0x82}, .altSignature = {0x1E, 0x97, 0x82},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 48,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x5E, .high = 0x99, .extended = 0xF3}},
    // 47
    {.family = DeviceFamily::At45, .name = "AT45DB041B",
     .pageSize = 264, .flashSize = 540672, .eepromSize = 1,
     .signature = {0x1C, 0x3C, 0x00}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xFF, .flashReadDelayCode = 0xFF,
     .eepromWriteDelayCode = 0xFF, .eepromReadDelayCode = 0xFF,
     .pageWriteDelayMs = 40, .boardDeviceCode = 0, .lockFuseLayout = 0,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 48
    {.family = DeviceFamily::At45, .name = "AT45DB041D",
     .pageSize = 264, .flashSize = 540672, .eepromSize = 1,
     .signature = {0x1C, 0x3C, 0x00}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xFF, .flashReadDelayCode = 0xFF,
     .eepromWriteDelayCode = 0xFF, .eepromReadDelayCode = 0xFF,
     .pageWriteDelayMs = 40, .boardDeviceCode = 0, .lockFuseLayout = 0,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 49
    {.family = DeviceFamily::At45, .name = "AT45DB081B",
     .pageSize = 264, .flashSize = 1081344, .eepromSize = 1,
     .signature = {0x24, 0x3C, 0x00}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xFF, .flashReadDelayCode = 0xFF,
     .eepromWriteDelayCode = 0xFF, .eepromReadDelayCode = 0xFF,
     .pageWriteDelayMs = 40, .boardDeviceCode = 0, .lockFuseLayout = 0,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 50
    {.family = DeviceFamily::At45, .name = "AT45DB161B",
     .pageSize = 528, .flashSize = 2162688, .eepromSize = 2,
     .signature = {0x2C, 0x3C, 0x00}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xFF, .flashReadDelayCode = 0xFF,
     .eepromWriteDelayCode = 0xFF, .eepromReadDelayCode = 0xFF,
     .pageWriteDelayMs = 40, .boardDeviceCode = 0, .lockFuseLayout = 0,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 51
    {.family = DeviceFamily::At45, .name = "AT45DB321B",
     .pageSize = 528, .flashSize = 4325376, .eepromSize = 2,
     .signature = {0x34, 0x3C, 0x00}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xFF, .flashReadDelayCode = 0xFF,
     .eepromWriteDelayCode = 0xFF, .eepromReadDelayCode = 0xFF,
     .pageWriteDelayMs = 40, .boardDeviceCode = 0, .lockFuseLayout = 0,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 52
    {.family = DeviceFamily::At45, .name = "AT45DB321C",
     .pageSize = 528, .flashSize = 4325376, .eepromSize = 2,
     .signature = {0x34, 0x3C, 0x00}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xFF, .flashReadDelayCode = 0xFF,
     .eepromWriteDelayCode = 0xFF, .eepromReadDelayCode = 0xFF,
     .pageWriteDelayMs = 40, .boardDeviceCode = 0, .lockFuseLayout = 0,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 53
    {.family = DeviceFamily::At45, .name = "AT45DB642",
     .pageSize = 1056, .flashSize = 8650752, .eepromSize = 3,
     .signature = {0x3C, 0x3C, 0x00}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xFF, .flashReadDelayCode = 0xFF,
     .eepromWriteDelayCode = 0xFF, .eepromReadDelayCode = 0xFF,
     .pageWriteDelayMs = 40, .boardDeviceCode = 0, .lockFuseLayout = 0,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 54
    {.family = DeviceFamily::At45, .name = "AT45DB642D",
     .pageSize = 1056, .flashSize = 8650752, .eepromSize = 3,
     .signature = {0x3C, 0x3C, 0x00}, .altSignature = {0x00, 0x00, 0x00},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xFF, .flashReadDelayCode = 0xFF,
     .eepromWriteDelayCode = 0xFF, .eepromReadDelayCode = 0xFF,
     .pageWriteDelayMs = 40, .boardDeviceCode = 0, .lockFuseLayout = 0,
     .forceProgEnable = 0, .calibration = CalibrationClocks::None},
    // 55
    {.family = DeviceFamily::ATmega, .name = "ATmega48P",
     .pageSize = 32, .flashSize = 4096, .eepromSize = 256,
     .signature = {0x1E, 0x92, 0x0A}, .altSignature = {0x1E, 0x92, 0x0A},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 49,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xFF}},
    // 56
    {.family = DeviceFamily::ATmega, .name = "ATmega88P",
     .pageSize = 32, .flashSize = 8192, .eepromSize = 512,
     .signature = {0x1E, 0x93, 0x0F}, .altSignature = {0x1E, 0x93, 0x0F},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 50,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xF9}},
    // 57
    {.family = DeviceFamily::ATmega, .name = "ATmega168P",
     .pageSize = 64, .flashSize = 16384, .eepromSize = 512,
     .signature = {0x1E, 0x94, 0x0B}, .altSignature = {0x1E, 0x94, 0x0B},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 50,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xF9}},
    // 58
    {.family = DeviceFamily::ATmega, .name = "ATmega328",
     .pageSize = 64, .flashSize = 32768, .eepromSize = 1024,
     .signature = {0x1E, 0x95, 0x14}, .altSignature = {0x1E, 0x95, 0x14},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 51,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xD9, .extended = 0xFF}},
    // 59
    {.family = DeviceFamily::ATmega, .name = "ATmega328P",
     .pageSize = 64, .flashSize = 32768, .eepromSize = 1024,
     .signature = {0x1E, 0x95, 0x0F}, .altSignature = {0x1E, 0x95, 0x0F},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xDC, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 51,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xD9, .extended = 0xFF}},
    // 60
    {.family = DeviceFamily::ATmega, .name = "ATmega164P",
     .pageSize = 64, .flashSize = 16384, .eepromSize = 512,
     .signature = {0x1E, 0x94, 0x0A}, .altSignature = {0x1E, 0x94, 0x0A},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 52,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 61
    {.family = DeviceFamily::ATmega, .name = "ATmega324P",
     .pageSize = 64, .flashSize = 32768, .eepromSize = 1024,
     .signature = {0x1E, 0x95, 0x08}, .altSignature = {0x1E, 0x95, 0x08},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 52,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 62
    {.family = DeviceFamily::ATmega, .name = "ATmega644P",
     .pageSize = 128, .flashSize = 65536, .eepromSize = 2048,
     .signature = {0x1E, 0x96, 0x0A}, .altSignature = {0x1E, 0x96, 0x0A},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 52,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 63
    {.family = DeviceFamily::ATmega, .name = "ATmega1284",
     .pageSize = 128, .flashSize = 131072, .eepromSize = 4096,
     .signature = {0x1E, 0x97, 0x06}, .altSignature = {0x1E, 0x97, 0x06},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 52,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 64
    {.family = DeviceFamily::ATmega, .name = "ATmega1284P",
     .pageSize = 128, .flashSize = 131072, .eepromSize = 4096,
     .signature = {0x1E, 0x97, 0x05}, .altSignature = {0x1E, 0x97, 0x05},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 52,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0x99, .extended = 0xFF}},
    // 65
    {.family = DeviceFamily::ATmega, .name = "ATmega32U4",
     .pageSize = 64, .flashSize = 32768, .eepromSize = 1024,
     .signature = {0x1E, 0x95, 0x87}, .altSignature = {0x1E, 0x95, 0x87},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 53,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x5E, .high = 0x99, .extended = 0xF3}},
    // 66
    {.family = DeviceFamily::ATmega, .name = "ATmega16U2",
     .pageSize = 64, .flashSize = 16384, .eepromSize = 512,
     .signature = {0x1E, 0x94, 0x89}, .altSignature = {0x1E, 0x94, 0x89},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 54,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x5E, .high = 0xD9, .extended = 0xF4}},
    // 67
    {.family = DeviceFamily::ATmega, .name = "ATmega8U2",
     .pageSize = 64, .flashSize = 8192, .eepromSize = 512,
     .signature = {0x1E, 0x93, 0x89}, .altSignature = {0x1E, 0x93, 0x89},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 54,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x5E, .high = 0xD9, .extended = 0xF4}},
    // 68
    {.family = DeviceFamily::At90, .name = "AT90USB162",
     .pageSize = 64, .flashSize = 16384, .eepromSize = 512,
     .signature = {0x1E, 0x94, 0x82}, .altSignature = {0x1E, 0x94, 0x82},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 54,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x5E, .high = 0xD9, .extended = 0xF4}},
    // 69
    {.family = DeviceFamily::At90, .name = "AT90USB646",
     .pageSize = 128, .flashSize = 65536, .eepromSize = 2048,
     .signature = {0x1E, 0x96, 0x82}, .altSignature = {0x1E, 0x96, 0x82},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xC0, .eepromReadDelayCode = 0xC0,
     .pageWriteDelayMs = 15, .boardDeviceCode = 2, .lockFuseLayout = 53,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x5E, .high = 0x99, .extended = 0xF3}},
    // 70
    {.family = DeviceFamily::ATtiny, .name = "ATtiny4313",
     .pageSize = 32, .flashSize = 4096, .eepromSize = 256,
     .signature = {0x1E, 0x92, 0x0D}, .altSignature = {0x1E, 0x92, 0x0D},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 0, .lockFuseLayout = 55,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8And4,
     .factoryFuses = {.low = 0x64, .high = 0xDF, .extended = 0xFF}},
    // 71
    {.family = DeviceFamily::ATtiny, .name = "ATtiny261",
     .pageSize = 16, .flashSize = 2048, .eepromSize = 128,
     .signature = {0x1E, 0x91, 0x0C}, .altSignature = {0x1E, 0x91, 0x0C},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 0, .lockFuseLayout = 56,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xFF}},
    // 72
    {.family = DeviceFamily::ATtiny, .name = "ATtiny461",
     .pageSize = 32, .flashSize = 4096, .eepromSize = 256,
     .signature = {0x1E, 0x92, 0x08}, .altSignature = {0x1E, 0x92, 0x08},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 0, .lockFuseLayout = 56,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xFF}},
    // 73
    {.family = DeviceFamily::ATtiny, .name = "ATtiny861",
     .pageSize = 32, .flashSize = 8192, .eepromSize = 512,
     .signature = {0x1E, 0x93, 0x0D}, .altSignature = {0x1E, 0x93, 0x0D},
     .algorithm = ProgAlgorithm::Avr,
     .flashWriteDelayCode = 0xDC, .flashReadDelayCode = 0xDC,
     .eepromWriteDelayCode = 0xA1, .eepromReadDelayCode = 0xDC,
     .pageWriteDelayMs = 15, .boardDeviceCode = 0, .lockFuseLayout = 56,
     .forceProgEnable = 0, .calibration = CalibrationClocks::Mhz8,
     .factoryFuses = {.low = 0x62, .high = 0xDF, .extended = 0xFF}},
};
// clang-format on

constexpr const char* kMhz8[] = {"8"};
constexpr const char* kMhz1To8[] = {"1", "2", "4", "8"};
constexpr const char* kMhz8And4[] = {"8", "4"};
constexpr const char* kMhz9p6And4p8[] = {"9.6", "4.8"};

constexpr const char* kFamilyNames[kFamilyCount] = {
    "AT25...", "AT45...", "AT86...", "AT89S...", "AT90...", "ATtiny...", "ATmega...",
};

}  // namespace

std::span<const char* const> DeviceInfo::calibrationMHz() const {
    switch (calibration) {
    case CalibrationClocks::None:
        break;
    case CalibrationClocks::Mhz8:
        return kMhz8;
    case CalibrationClocks::Mhz1To8:
        return kMhz1To8;
    case CalibrationClocks::Mhz8And4:
        return kMhz8And4;
    case CalibrationClocks::Mhz9p6And4p8:
        return kMhz9p6And4p8;
    }
    return {};
}

const DeviceInfo& DeviceTable::at(int index) {
    if (!isValidIndex(index))
        throw std::out_of_range("device index out of range");
    return kDevices[index];
}

const char* DeviceTable::familyName(DeviceFamily family) {
    const int f = static_cast<int>(family);
    return f >= 0 && f < kFamilyCount ? kFamilyNames[f] : "";
}

std::vector<const char*> DeviceTable::devicesOfFamily(DeviceFamily family) {
    std::vector<const char*> names;
    for (const auto& d : kDevices)
        if (d.family == family)
            names.push_back(d.name);
    return names;
}

FamilyPosition DeviceTable::familyPosition(int index) {
    const DeviceInfo& device = at(index);
    int position = 0;
    for (int i = 0; i < index; ++i)
        if (kDevices[i].family == device.family)
            ++position;
    return {device.family, position};
}

int DeviceTable::indexAt(DeviceFamily family, int position) {
    if (position < 0)
        return -1;
    for (int i = 0; i < kCount; ++i)
        if (kDevices[i].family == family && position-- == 0)
            return i;
    return -1;
}

int DeviceTable::findBySignature(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2) {
    if (b0 != 0x1E)
        return -1;
    const Signature read{b0, b1, b2};
    for (int i = 0; i < kCount; ++i)
        if (kDevices[i].signature == read || kDevices[i].altSignature == read)
            return i;
    return -1;
}

int DeviceTable::findAt45ByStatus(std::uint8_t status) {
    if (status == 0xFF)
        return -1;
    for (int i = 0; i < kCount; ++i) {
        const DeviceInfo& d = kDevices[i];
        if (d.isAt45() && (status & d.statusMask()) == d.statusValue())
            return i;
    }
    return -1;
}

std::array<std::uint8_t, 2> DeviceTable::at45PageAddress(const DeviceInfo& device, int page) {
    const auto shifted = static_cast<std::uint16_t>(page << device.addressShift());
    return {static_cast<std::uint8_t>(shifted >> 8), static_cast<std::uint8_t>(shifted & 0xFF)};
}

}  // namespace zavuv::devices
