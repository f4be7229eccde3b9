#pragma once
// The start-up picture shown while the program gets ready.
#include <QWidget>

namespace velmora {

class TSplash : public QWidget {
  Q_OBJECT
 public:
  explicit TSplash(QWidget* parent = nullptr);

  // The wait after showing: VEXO_SPLASH_MS when it is a number, else 5000 ms.
  static int waitMs();
  // Shows the splash and keeps it painted for waitMs().
  void showAndWait();
};

}  // namespace velmora
