// A finally part runs whole when break or continue is pending.
for (i = 1; i <= 3; i++) {
  try {
    if (i == 2) break;
    ShowMessage("pass " + IntToStr(i));
  } finally {
    ShowMessage("A");
    ShowMessage("B");
  }
}
// expect: pass 1
// expect: A
// expect: B
// expect: A
// expect: B
ShowMessage("i=" + IntToStr(i));   // expect: i=2
