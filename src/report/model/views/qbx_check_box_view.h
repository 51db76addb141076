// Check boxes: a mark chosen by a boolean from a data field or an expression.
#pragma once

#include "report/model/views/qbx_view.h"

namespace zavrik {

enum TqbxCheckStyle : int32_t { csCross, csCheck, csLineCross, csPlus };
enum TqbxUncheckStyle : int32_t { usEmpty, usCross, usLineCross, usMinus };

class TqbxCheckBoxView : public TqbxView {
 public:
  TqbxCheckBoxView();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  bool Checked() const { return FChecked; }
  void SetChecked(bool v) { FChecked = v; }
  TqbxCheckStyle CheckStyle() const { return FCheckStyle; }
  void SetCheckStyle(TqbxCheckStyle v) { FCheckStyle = v; }
  TqbxUncheckStyle UncheckStyle() const { return FUncheckStyle; }
  void SetUncheckStyle(TqbxUncheckStyle v) { FUncheckStyle = v; }
  int32_t CheckColor() const { return FCheckColor; }
  void SetCheckColor(int32_t v) { FCheckColor = v; }
  const String& Expression() const { return FExpression; }
  void SetExpression(const String& v) { FExpression = v; }

  // The bound field's value (Null counts as false), else the expression's, sets Checked.
  void GetData() override;
  void Draw(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y) override;

 private:
  void DrawMark();

  bool FChecked = true;
  TqbxCheckStyle FCheckStyle = csCross;
  TqbxUncheckStyle FUncheckStyle = usEmpty;
  int32_t FCheckColor = 0;
  String FExpression;
};

}  // namespace zavrik
