// The engine library; filled by the prepared pages and the engine.
