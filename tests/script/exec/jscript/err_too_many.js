var s = IntToStr(1, 2);
// expect error: 1:17: Too many actual parameters
