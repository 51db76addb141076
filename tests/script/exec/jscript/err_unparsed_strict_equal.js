// "===" is no operator of the language: the statement error, never a shortened program.
Counter = 1;
t = Counter === 1;
ShowMessage("after");
// expect error: 3:13: Statement expected
