#pragma once
// Errors of the operational-automaton engine. Each carries the message the user sees; the
// command that started a step or a build shows it. A step or a reset that fails leaves the
// model and its history as they were.
#include "platform/errors.h"
#include "platform/quote.h"

namespace velmora {

// Root of the engine's errors: catch this to handle any of them.
class EOaError : public VexoError {
 public:
  using VexoError::VexoError;
};

// A width, a value or a bit number that should be a decimal integer is not.
class EOaConvertError : public EOaError {
 public:
  using EOaError::EOaError;
};

// A bit number outside an element, a width outside 0..32, a value with too few bits for its
// target, a history row that does not exist or may not be touched.
class EOaRangeError : public EOaError {
 public:
  using EOaError::EOaError;
};

// A register or bus name that the block list does not declare.
class EOaNameError : public EOaError {
 public:
  using EOaError::EOaError;
};

// A microoperation, a condition or a function call that does not have the expected form.
class EOaSyntaxError : public EOaError {
 public:
  using EOaError::EOaError;
};

namespace oa {

// A name or a text as the messages show it: in double quotes, cut to a line's worth.
using quote::quoted;

// Runs fn; an engine error escaping it is raised again, of the same class, with prefix() put
// in front of its message (which microoperation, which signal, which step). The prefix is
// formed only when there is an error: steps are run in bulk.
template <class Prefix, class Fn>
auto withContext(Prefix&& prefix, Fn&& fn) -> decltype(fn()) {
  try {
    return fn();
  } catch (const EOaConvertError& e) {
    throw EOaConvertError(prefix() + e.message());
  } catch (const EOaRangeError& e) {
    throw EOaRangeError(prefix() + e.message());
  } catch (const EOaNameError& e) {
    throw EOaNameError(prefix() + e.message());
  } catch (const EOaSyntaxError& e) {
    throw EOaSyntaxError(prefix() + e.message());
  } catch (const EOaError& e) {
    throw EOaError(prefix() + e.message());
  }
}

}  // namespace oa

}  // namespace velmora
