#pragma once
// The root of the programs' own exceptions: each carries the message the user sees.
#include <stdexcept>
#include <QString>

class VexoError : public std::runtime_error {
 public:
  explicit VexoError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
  ~VexoError() override;
  const QString& message() const { return message_; }

 private:
  QString message_;
};

// A text that should be a number is not.
class EConvertError : public VexoError {
 public:
  using VexoError::VexoError;
  ~EConvertError() override;
};
