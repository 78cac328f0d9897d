#include "testing/qt/QtWavePlayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <fstream>

#include "testing/WaveFile.h"

namespace zv {

QtWavePlayer::QtWavePlayer() = default;
QtWavePlayer::~QtWavePlayer() = default;

int QtWavePlayer::setUp() {
  if (effect_) return 0;
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (QMediaDevices::audioOutputs().isEmpty() || device.isNull()) return 68;  // device unavailable
  effect_ = std::make_unique<QSoundEffect>(device);
  // A device that goes away while a sound plays only silences it; the test goes on.
  return 0;
}

SoundError QtWavePlayer::play(const std::string& path) {
  if (!effect_) return {68, "Device unavailable"};
  // The audio device decodes nothing but waves; anything else is refused here,
  // before it reaches the device, so the error comes with the call.
  std::ifstream in(path, std::ios::binary);
  if (!in) return {53, "File not found"};
  if (!readWaveFormat(in)) return invalidFileFormat();
  effect_->stop();
  effect_->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
  effect_->play();
  return {};
}

void QtWavePlayer::stop() {
  if (effect_) effect_->stop();
}

}  // namespace zv
