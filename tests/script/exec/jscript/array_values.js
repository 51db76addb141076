// Arrays are values: assignment, by-value parameters and results copy; var parameters share.
function ByValue(x) { x[1] = 100; }
function ByRef(&x) { x[2] = 200; }
function Filled(n) {
  var loc[3];
  loc[1] = n;
  return loc;
}
v = VarArrayCreate([0, 2], varVariant);
v[1] = "one";
w = v;
w[1] = "uno";
ShowMessage(v[1] + " " + w[1]);                        // expect: one uno
ByValue(v);
ShowMessage(VarToStr(v[1]));                           // expect: one
ByRef(v);
ShowMessage(VarToStr(v[2]));                           // expect: 200
r1 = Filled(5);
r2 = Filled(6);
ShowMessage(VarToStr(r1[1]) + " " + VarToStr(r2[1]));  // expect: 5 6
