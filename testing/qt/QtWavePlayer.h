#pragma once
// The wave player on the machine's audio device (Qt Multimedia). Without an
// audio output it cannot be set up, and the test runs without sound.
#include <memory>

#include "testing/WavePlayer.h"

class QSoundEffect;

namespace zv {

class QtWavePlayer : public WavePlayer {
 public:
  QtWavePlayer();
  ~QtWavePlayer() override;
  int setUp() override;
  SoundError play(const std::string& path) override;
  void stop() override;

 private:
  std::unique_ptr<QSoundEffect> effect_;
};

}  // namespace zv
