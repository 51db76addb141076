begin a := <Total> + <[Sum(<Price>)]> end.
