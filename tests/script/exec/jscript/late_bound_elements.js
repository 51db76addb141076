// A list kept in an array element, used through the element.
var lists[2];
lists[0] = new TStringList;
lists[0].Add("x");
lists[0].Add("y");
ShowMessage(IntToStr(lists[0].Count));  // expect: 2
ShowMessage(lists[0].Strings[1]);       // expect: y
lists[0].Free;
