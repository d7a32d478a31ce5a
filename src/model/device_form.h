#pragma once
// The main window's device controls as plain values: what the form shows and what
// Create and Assign read. The window copies its widgets into a DeviceForm before an
// operation and shows the DeviceForm again afterwards.

#include <cstdint>
#include <memory>
#include <string>

#include "model/device_lookup.h"
#include "model/user_dialogs.h"

namespace orvane {

// Initial values are those of a freshly opened window.
struct DeviceForm {
  std::string DevCode = "1";                       // DevCodeEdit
  bool SubDevice = false;                          // SubDeviceCheck
  int ProjXY = 0;                                  // ProjXYTrack 0..360
  int OpenXY = 360;                                // OpenXYTrack 1..360
  int ProjXZ = 0;                                  // ProjXZTrack 0..360
  int OpenXZ = 180;                                // OpenXZTrack 1..360
  std::string StarQuantity = "500";                // StarQuanEdit
  bool Progressive = false;                        // RegeRadio
  bool Explosive = true;                           // ExploRadio
  bool Trail = false;                              // TrailCheck
  int TrailLength = 100;                           // TrailTrack 0..100
  int Weight = 10;                                 // PesoTrack -100..100
  int Speed = 20;                                  // VelocTrack 0..100
  int Resistance = 10;                             // ResistTrack 1..100
  int Size = 10;                                   // SizeTrack 5..30
  bool RandomSpeed = false;                        // VelAleatRadio
  bool HomogeneousSpeed = true;                    // VelHomogRadio
  std::string EffectLength = "2000";               // EffectLengthEdit
  int MaxLife = 100;                               // VidaMaxTrack 0..100
  int MinLife = 50;                                // VidaMinTrack 0..100
  bool NextEff = false;                            // NextEffCheck
  std::string NextEffCode;                         // NextEffCodeEdit
  int NextEffPos = 100;                            // NextEffPosTrack 0..100
  bool NextPar = false;                            // NextParCheck
  std::string NextParCode;                         // NextParCodeEdit
  int NextParPos = 100;                            // NextParPosTrack 0..100
  std::string PosX = "0", PosY = "0", PosZ = "0";  // PosXEdit, PosYEdit, PosZEdit

  bool operator==(const DeviceForm&) const = default;
};

// The control that should take the keyboard focus after an operation.
enum class FormFocus {
  None,
  DevCodeEdit,
  StarQuanEdit,
  EffectLengthEdit,
  NextEffCodeEdit,
  NextParCodeEdit,
  PosXEdit,
  PosYEdit,
  PosZEdit,
  DevicesList,
  RenderBt,
};

// Checks the entries in order; on the first failure shows "<what>, please verify."
// (information box, single Yes), sets `focus` to the offending edit and returns false.
// A star quantity above 65535, which the record cannot hold, is refused as out of range.
bool ValidateForm(const DeviceForm& form, UserDialogs& dialogs, FormFocus& focus);

// A record from a validated form and the working segments, prepared; null when the
// preparation fails (no message: the caller reports it; `outOfMemory` says why). Code and Kind come from the
// form, the other definition fields stay empty, Date is now.
std::unique_ptr<TBaseDevice> MakeDevice(const DeviceForm& form, const SegmentList& segments, const PrepareStep& prepare,
                                        bool* outOfMemory = nullptr);

// A start position as the form shows it: one decimal ("%0.1f") with `separator`.
std::string FormatPosition(float value, char separator);

}  // namespace orvane
