#language Lisp
// expect error: Language 'Lisp' not found
