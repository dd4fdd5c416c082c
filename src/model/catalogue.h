#pragma once

#include <cstdint>
#include <memory>

#include "model/tooth.h"

namespace orvela {

// The eight lower tooth types, each named by its FDI number, built upright with its local
// origin at (200, 850). The right-side types are the left ones mirrored about x = 0 before
// that common move.
class TTooth33 final : public TTooth {
 public:
  TTooth33() : TTooth(TDeferInit{}) { Init(); }

 protected:
  void Init() override;
};

class TTooth34 final : public TTooth {
 public:
  TTooth34() : TTooth(TDeferInit{}) { Init(); }

 protected:
  void Init() override;
};

class TTooth35 final : public TTooth {
 public:
  TTooth35() : TTooth(TDeferInit{}) { Init(); }

 protected:
  void Init() override;
};

class TTooth36 final : public TTooth {
 public:
  TTooth36() : TTooth(TDeferInit{}) { Init(); }

 protected:
  void Init() override;
};

class TTooth43 final : public TTooth {
 public:
  TTooth43() : TTooth(TDeferInit{}) { Init(); }

 protected:
  void Init() override;
};

class TTooth44 final : public TTooth {
 public:
  TTooth44() : TTooth(TDeferInit{}) { Init(); }

 protected:
  void Init() override;
};

class TTooth45 final : public TTooth {
 public:
  TTooth45() : TTooth(TDeferInit{}) { Init(); }

 protected:
  void Init() override;
};

class TTooth46 final : public TTooth {
 public:
  TTooth46() : TTooth(TDeferInit{}) { Init(); }

 protected:
  void Init() override;
};

// Whether there is a tooth type of that FDI number.
bool IsToothType(std::int32_t fdi);

// A new tooth of the type with that FDI number (33…36, 43…46), without bracket; null for
// any other number.
std::unique_ptr<TTooth> CreateTooth(std::int32_t fdi);

// How far below the cusp tip the Add Tooth command bonds the bracket: 45 model units for
// the canines (33, 43), 40 for the others.
double StandardBracketDepth(std::int32_t fdi);

}  // namespace orvela
