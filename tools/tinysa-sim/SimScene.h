#pragma once

// The simulator's radio scene: what the analyser "measures" at each point of
// each sweep. Pure and deterministic: the same seed, sweep index and range
// always give the same raw values, so tests can compute exactly what a frame
// carried and compare it with what the application decoded.

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QtGlobal>

namespace tinysasim {

// How the scene treats the bytes that mean something in the frame format
// ("x", "{", "}") or in text (line feed).
enum class SpecialBytes {
  Natural,  // raw values as the scene gives them; the bytes turn up now and then, as on a device
  Force,    // every frame carries 0x78, 0x7B, 0x7D and 0x0A as low bytes of some points
  Avoid,    // raw values nudged by 1/32 dB so that no byte is 0x78, 0x7B or 0x7D
};

struct SceneConfig {
  quint64 seed = 1;
  SpecialBytes specialBytes = SpecialBytes::Natural;
};

// One sender of the scene.
struct SceneCarrier {
  double frequencyHz = 0;
  double levelDbm = 0;
};

struct SceneChannel {
  double lowHz = 0;
  double highHz = 0;
  double levelDbm = 0;
};

constexpr double kNoiseFloorDbm = -100.0;
constexpr double kCarrierMinDbm = -70.0;
constexpr double kCarrierMaxDbm = -30.0;
constexpr double kChannelDbm = -60.0;
constexpr double kChannelWidthHz = 8e6;
constexpr qint64 kMaxFrequencyHz = 4294967295LL;  // the firmware's frequencies are unsigned 32-bit
constexpr int kMaxPoints = 100000;

// Level in dBm of a raw value (1/32 dB, offset 128 dB).
constexpr double rawToLevelDbm(quint16 raw) {
  return raw / 32.0 - 128.0;
}
// The whole-dBm level a decoder using integer division reports.
constexpr int rawToWholeDbm(quint16 raw) {
  return raw / 32 - 128;
}
// Nearest raw value of a level, clamped to what 16 bits hold.
quint16 levelToRaw(double levelDbm);

// Frequency of point `index` of a sweep: start + index * (stop - start) / points.
qint64 pointFrequencyHz(qint64 startHz, qint64 stopHz, int points, int index);

// The fixed part of the scene for a seed: wireless-microphone carriers and DTV channels.
QVector<SceneCarrier> sceneCarriers(quint64 seed);
QVector<SceneChannel> sceneChannels(quint64 seed);

// The raw values of sweep `sweepIndex` (0 = the first frame the simulator sends).
QVector<quint16> sceneRawValues(const SceneConfig &config, quint64 sweepIndex, qint64 startHz, qint64 stopHz,
                                int points);
// The same as levels in dBm (exact: raw / 32 - 128) and as whole dBm.
QVector<double> sceneLevelsDbm(const SceneConfig &config, quint64 sweepIndex, qint64 startHz, qint64 stopHz,
                               int points);
QVector<int> sceneWholeLevelsDbm(const SceneConfig &config, quint64 sweepIndex, qint64 startHz, qint64 stopHz,
                                 int points);

// The text of --print-scene: one line per point, "<index> <frequency Hz> <raw> <level dBm>".
QByteArray sceneTable(const SceneConfig &config, quint64 sweepIndex, qint64 startHz, qint64 stopHz, int points);

// Parsing and naming of SpecialBytes for the command line.
bool parseSpecialBytes(const QString &text, SpecialBytes *out);
QString specialBytesName(SpecialBytes value);

}  // namespace tinysasim
