#include "SimScene.h"

#include "SimRandom.h"

#include <algorithm>
#include <cmath>

namespace tinysasim {
namespace {

// Salts keep the hashes of different purposes apart.
enum Salt : quint64 {
  kSaltChannelCount = 1,
  kSaltChannelPick,
  kSaltChannelLevel,
  kSaltCarrierCount,
  kSaltCarrierFrequency,
  kSaltCarrierLevel,
  kSaltNoise,
  kSaltNoise2,
  kSaltFloorPhase,
  kSaltChannelFlicker,
  kSaltCarrierFlicker,
  kSaltForcedPosition,
};

constexpr double kPi = 3.14159265358979323846;
constexpr double kNoiseSpreadDb = 3.0;  // triangular noise, +-3 dB around the floor
constexpr double kFloorRippleDb = 1.0;  // a slow wave over frequency, as a real front end shows
constexpr double kFloorRipplePeriodHz = 73e6;
constexpr double kChannelRippleDb = 0.8;
constexpr double kChannelRipplePeriodHz = 1.3e6;
constexpr double kChannelFlickerDb = 0.5;
constexpr double kCarrierFlickerDb = 1.0;
constexpr double kCarrierHalfWidthHz = 40e3;  // an FM microphone's occupied half bandwidth at -3 dB
constexpr double kMinResolutionHz = 10e3;
constexpr double kMaxResolutionHz = 600e3;  // the widest filter of the analyser
constexpr double kCarrierLowHz = 470e6;
constexpr double kCarrierHighHz = 940e6;
constexpr double kCarrierGridHz = 25e3;
constexpr double kChannelRasterStartHz = 470e6;
constexpr int kChannelRasterCount = 49;  // 470 ... 862 MHz
constexpr int kMinChannels = 2;
constexpr int kMaxChannels = 4;
constexpr int kMinCarriers = 6;
constexpr int kMaxCarriers = 10;
constexpr int kMaxCarrierAttempts = 64;
constexpr double kNegligibleDb = 80.0;
constexpr double kGuardHz = 1e6;

constexpr quint8 kForcedBytes[] = {0x78, 0x7B, 0x7D, 0x0A};

double dbmToMw(double dbm) {
  return std::pow(10.0, dbm / 10.0);
}
double mwToDbm(double mw) {
  return 10.0 * std::log10(mw);
}

// Whether a microphone at this frequency keeps its guard distance from the TV channels
// and from the microphones placed so far, as a frequency plan would.
bool keepsGuard(const QVector<SceneChannel> &channels, const QVector<SceneCarrier> &carriers, double frequencyHz) {
  const bool nearChannel = std::any_of(channels.begin(), channels.end(), [frequencyHz](const SceneChannel &c) {
    return frequencyHz >= c.lowHz - kGuardHz && frequencyHz <= c.highHz + kGuardHz;
  });
  const bool nearCarrier = std::any_of(carriers.begin(), carriers.end(), [frequencyHz](const SceneCarrier &c) {
    return std::abs(frequencyHz - c.frequencyHz) < kGuardHz;
  });
  return !nearChannel && !nearCarrier;
}

bool isFrameByte(quint8 byte) {
  return byte == 0x78 || byte == 0x7B || byte == 0x7D;
}

}  // namespace

quint16 levelToRaw(double levelDbm) {
  const double raw = std::round((levelDbm + 128.0) * 32.0);
  return quint16(std::clamp(raw, 0.0, 65535.0));
}

qint64 pointFrequencyHz(qint64 startHz, qint64 stopHz, int points, int index) {
  if (points <= 0) return startHz;
  return startHz + (qint64(index) * (stopHz - startHz)) / points;
}

QVector<SceneChannel> sceneChannels(quint64 seed) {
  const int count = int(rnd::between(rnd::hash(seed, kSaltChannelCount), kMinChannels, kMaxChannels));
  QVector<int> picked;
  for (int i = 0; picked.size() < count; ++i) {
    const int slot = int(rnd::between(rnd::hash(seed, kSaltChannelPick, quint64(i)), 0, kChannelRasterCount - 1));
    if (!picked.contains(slot)) picked.append(slot);
  }
  std::sort(picked.begin(), picked.end());
  QVector<SceneChannel> channels;
  for (int i = 0; i < picked.size(); ++i) {
    SceneChannel channel;
    channel.lowHz = kChannelRasterStartHz + picked[i] * kChannelWidthHz;
    channel.highHz = channel.lowHz + kChannelWidthHz;
    channel.levelDbm = kChannelDbm + rnd::uniform(rnd::hash(seed, kSaltChannelLevel, quint64(i)), -2.0, 2.0);
    channels.append(channel);
  }
  return channels;
}

QVector<SceneCarrier> sceneCarriers(quint64 seed) {
  const QVector<SceneChannel> channels = sceneChannels(seed);
  const int count = int(rnd::between(rnd::hash(seed, kSaltCarrierCount), kMinCarriers, kMaxCarriers));
  const qint64 gridSlots = qint64((kCarrierHighHz - kCarrierLowHz) / kCarrierGridHz);
  QVector<SceneCarrier> carriers;
  for (int i = 0; i < count; ++i) {
    for (int attempt = 0; attempt < kMaxCarrierAttempts; ++attempt) {
      const quint64 h = rnd::hash(seed, kSaltCarrierFrequency, quint64(i), quint64(attempt));
      const double frequencyHz = kCarrierLowHz + kCarrierGridHz * double(rnd::between(h, 0, gridSlots));
      if (!keepsGuard(channels, carriers, frequencyHz)) continue;
      SceneCarrier carrier;
      carrier.frequencyHz = frequencyHz;
      carrier.levelDbm = rnd::uniform(rnd::hash(seed, kSaltCarrierLevel, quint64(i)), kCarrierMinDbm, kCarrierMaxDbm);
      carriers.append(carrier);
      break;
    }
  }
  std::sort(carriers.begin(), carriers.end(),
            [](const SceneCarrier &a, const SceneCarrier &b) { return a.frequencyHz < b.frequencyHz; });
  return carriers;
}

QVector<quint16> sceneRawValues(const SceneConfig &config, quint64 sweepIndex, qint64 startHz, qint64 stopHz,
                                int points) {
  QVector<quint16> raws;
  if (points <= 0) return raws;
  raws.reserve(points);
  const quint64 seed = config.seed;
  const QVector<SceneChannel> channels = sceneChannels(seed);
  const QVector<SceneCarrier> carriers = sceneCarriers(seed);
  const double stepHz = double(stopHz - startHz) / points;
  // The resolution filter follows the point spacing, as the analyser's automatic RBW does,
  // so a narrow carrier shows at its level unless the points are sparser than the widest filter.
  const double rbwHz = std::clamp(stepHz, kMinResolutionHz, kMaxResolutionHz);
  const double carrierWidthHz = std::sqrt((rbwHz / 2) * (rbwHz / 2) + kCarrierHalfWidthHz * kCarrierHalfWidthHz);
  const double floorPhase = rnd::uniform(rnd::hash(seed, kSaltFloorPhase), 0.0, 2 * kPi);

  QVector<double> channelLevels;
  for (int c = 0; c < channels.size(); ++c)
    channelLevels.append(channels[c].levelDbm +
                         rnd::uniform(rnd::hash(seed, kSaltChannelFlicker, sweepIndex, quint64(c)), -kChannelFlickerDb,
                                      kChannelFlickerDb));
  QVector<double> carrierLevels;
  for (int c = 0; c < carriers.size(); ++c)
    carrierLevels.append(carriers[c].levelDbm +
                         rnd::uniform(rnd::hash(seed, kSaltCarrierFlicker, sweepIndex, quint64(c)), -kCarrierFlickerDb,
                                      kCarrierFlickerDb));

  for (int i = 0; i < points; ++i) {
    const qint64 frequencyHz = pointFrequencyHz(startHz, stopHz, points, i);
    const double f = double(frequencyHz);
    const double triangular = rnd::unit(rnd::hash(seed, kSaltNoise, sweepIndex, quint64(frequencyHz))) +
                              rnd::unit(rnd::hash(seed, kSaltNoise2, sweepIndex, quint64(frequencyHz))) - 1.0;
    const double floorDbm = kNoiseFloorDbm +
                            kFloorRippleDb * std::sin(2 * kPi * f / kFloorRipplePeriodHz + floorPhase) +
                            kNoiseSpreadDb * triangular;
    double powerMw = dbmToMw(floorDbm);

    for (int c = 0; c < channels.size(); ++c) {
      const double overlapHz = std::min(f + rbwHz / 2, channels[c].highHz) - std::max(f - rbwHz / 2, channels[c].lowHz);
      if (overlapHz <= 0) continue;
      const double ripple = kChannelRippleDb * std::sin(2 * kPi * (f - channels[c].lowHz) / kChannelRipplePeriodHz);
      powerMw += std::min(1.0, overlapHz / rbwHz) * dbmToMw(channelLevels[c] + ripple);
    }
    for (int c = 0; c < carriers.size(); ++c) {
      const double distance = (f - carriers[c].frequencyHz) / carrierWidthHz;
      const double attenuationDb = 3.0 * distance * distance;
      if (attenuationDb < kNegligibleDb) powerMw += dbmToMw(carrierLevels[c] - attenuationDb);
    }

    quint16 raw = levelToRaw(mwToDbm(powerMw));
    if (config.specialBytes == SpecialBytes::Avoid) {
      while (isFrameByte(quint8(raw & 0xFF)) || isFrameByte(quint8(raw >> 8)))
        raw = quint16(raw + (isFrameByte(quint8(raw & 0xFF)) ? 1 : 0x100));
    }
    raws.append(raw);
  }

  if (config.specialBytes == SpecialBytes::Force) {
    QVector<int> used;
    for (int b = 0; b < int(sizeof(kForcedBytes)) && used.size() < points; ++b) {
      int position = int(rnd::hash(seed, kSaltForcedPosition, sweepIndex, quint64(b)) % quint64(points));
      while (used.contains(position)) position = (position + 1) % points;
      used.append(position);
      raws[position] = quint16((raws[position] & 0xFF00) | kForcedBytes[b]);
    }
  }
  return raws;
}

QVector<double> sceneLevelsDbm(const SceneConfig &config, quint64 sweepIndex, qint64 startHz, qint64 stopHz,
                               int points) {
  QVector<double> levels;
  for (quint16 raw : sceneRawValues(config, sweepIndex, startHz, stopHz, points)) levels.append(rawToLevelDbm(raw));
  return levels;
}

QVector<int> sceneWholeLevelsDbm(const SceneConfig &config, quint64 sweepIndex, qint64 startHz, qint64 stopHz,
                                 int points) {
  QVector<int> levels;
  for (quint16 raw : sceneRawValues(config, sweepIndex, startHz, stopHz, points)) levels.append(rawToWholeDbm(raw));
  return levels;
}

QByteArray sceneTable(const SceneConfig &config, quint64 sweepIndex, qint64 startHz, qint64 stopHz, int points) {
  const QVector<quint16> raws = sceneRawValues(config, sweepIndex, startHz, stopHz, points);
  QByteArray text;
  for (int i = 0; i < raws.size(); ++i) {
    text += QByteArray::number(i) + ' ' + QByteArray::number(pointFrequencyHz(startHz, stopHz, points, i)) + ' ' +
            QByteArray::number(raws[i]) + ' ' + QByteArray::number(rawToLevelDbm(raws[i]), 'f', 5) + '\n';
  }
  return text;
}

bool parseSpecialBytes(const QString &text, SpecialBytes *out) {
  if (text == QLatin1String("natural"))
    *out = SpecialBytes::Natural;
  else if (text == QLatin1String("force"))
    *out = SpecialBytes::Force;
  else if (text == QLatin1String("avoid"))
    *out = SpecialBytes::Avoid;
  else
    return false;
  return true;
}

QString specialBytesName(SpecialBytes value) {
  switch (value) {
    case SpecialBytes::Natural:
      return QStringLiteral("natural");
    case SpecialBytes::Force:
      return QStringLiteral("force");
    case SpecialBytes::Avoid:
      return QStringLiteral("avoid");
  }
  return QString();
}

}  // namespace tinysasim
