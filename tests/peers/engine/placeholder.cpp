namespace peer_engines_placeholder {}
