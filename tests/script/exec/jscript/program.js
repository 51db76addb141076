// JScript: undeclared variables, var groups, for by position, switch, functions, with.
var total = 0, list = new TStringList(), parts[3];
function Fact(n) {
  if (n <= 1) return 1;
  return n * Fact(n - 1);
}
function Inc2(&v) { v += 2; }
for (i = 0; i < 3; i++) parts[i] = i * 10;
ShowMessage(VarToStr(parts[2]));        // expect: 20
for (var k = 0; k < 4; k++) { if (k == 1) continue; if (k == 3) break; total += k; }
ShowMessage(VarToStr(total));           // expect: 2
ShowMessage(VarToStr(Fact(5)));         // expect: 120
Inc2(total);
ShowMessage(VarToStr(total));           // expect: 4
switch (total) {
  case 3: ShowMessage("three");
  case 4: ShowMessage("four");          // expect: four
  default: ShowMessage("other");
}
do { total -= 1; } while (total > 0);
ShowMessage(VarToStr(total));           // expect: 0
list.Add("a");
with (list) { Add("b"); }
ShowMessage(list.CommaText);            // expect: a,b
try { x = 1 / 0; } except { ShowMessage(ExceptionClassName); }  // expect: EZeroDivide
if (!(total != 0)) ShowMessage("zero"); // expect: zero
list.Free();
