#include "report/model/qbx_custom_engine.h"

#include "core/error.h"
#include "core/rtti_props.h"

namespace zavrik {

const ClassInfo& TqbxCustomEngine::StaticClass() {
  using C = TqbxCustomEngine;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxCustomEngine", &Object::StaticClass(), nullptr, {
      Field(u"CurColumn", &C::CurColumn),
      Field(u"CurVColumn", &C::CurVColumn),
      Field(u"CurX", &C::CurX),
      Field(u"CurY", &C::CurY),
      Prop(u"DoublePass", &C::DoublePass),
      Field(u"FinalPass", &C::FinalPass),
      Field(u"PageHeight", &C::PageHeight),
      Field(u"PageWidth", &C::PageWidth),
      Field(u"StartDate", &C::StartDate),
      Field(u"StartTime", &C::StartTime),
      Field(u"TotalPages", &C::TotalPages),
      Field(u"SecondScriptCall", &C::SecondScriptCall),
  }); });
  return info;
}

void TqbxCustomEngine::NotRunning() { throw Error(u"Engine is not running"); }

}  // namespace zavrik
