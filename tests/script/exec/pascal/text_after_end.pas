// Text after the final "end." is ignored, as Pascal does: stored templates rely on it.
begin
  ShowMessage('main');   // expect: main
end.
ShowMessage('not code at all');
this is not Pascal
