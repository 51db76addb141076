// break inside a switch leaves the switch only: at top level, in a loop and in a function.
function Check(k) {
  switch (k) {
    case 1: { ShowMessage("one"); break; }
    default: ShowMessage("other");
  }
  ShowMessage("function goes on");
}
switch (2) {
  case 2: { ShowMessage("two"); break; ShowMessage("not reached"); }
}
ShowMessage("program goes on");
n = 0;
for (i = 1; i <= 3; i++) {
  switch (i) {
    case 2: { n = n + 10; break; }
    default: n = n + 1;
  }
  n = n + 100;
}
ShowMessage(IntToStr(n));
Check(1);
// expect: two
// expect: program goes on
// expect: 312
// expect: one
// expect: function goes on
