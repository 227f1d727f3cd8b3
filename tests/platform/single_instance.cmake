# single_instance
