// Router stand-in.
