var x: TNoSuchClass;
begin
end.
// expect error: 1:5: Unknown type: 'TNoSuchClass'
