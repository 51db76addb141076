// A line no statement can begin is an error, not the silent end of the program.
a = 1;
x = a > 0 ? "pos" : "neg";
ShowMessage("after");
// expect error: 3:11: Statement expected
